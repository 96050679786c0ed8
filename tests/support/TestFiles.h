// Whole-file reads and writes of the tests, by Unix path and by the machine's Windows path.
#pragma once

#include <string>

namespace qnl::test {

// The bytes of a file; empty when it cannot be read.
std::string ReadFile(const std::string& UnixPath);
// Writes (replaces) a file, making its directories.
void WriteFile(const std::string& UnixPath, const std::string& Bytes);
// The same for a Windows path of the current machine (WINEPREFIX).
std::string ReadMachineFile(const std::string& WindowsPath);
void WriteMachineFile(const std::string& WindowsPath, const std::string& Bytes);
// The paths of everything below a Windows directory, relative to it, sorted, one a line
// (directories end in "/"); empty when it does not exist.
std::string MachineTree(const std::string& WindowsDir);

} // namespace qnl::test
