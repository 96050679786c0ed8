// Child processes of the tests: programs run to their end with their output.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace qnl::test {

// The folder of the running test program (where helper programs such as test_RegistryChild live).
std::string TestBinDir();
// Starts args[0] with its standard output on a pipe; returns its pid (-1 on failure).
pid_t StartWithOutputPipe(const std::vector<std::string>& Args, int& ReadFd);
// Runs a program to its end; returns its exit status and fills `output` with its stdout.
int RunProgram(const std::vector<std::string>& Args, std::string& Output);

} // namespace qnl::test
