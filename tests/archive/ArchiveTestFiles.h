// Helpers of the archive tests: fresh directories on the test machine and whole-file I/O.
#pragma once

#include <string>

#include "tests/support/TestFiles.h"

namespace qnl::test {

// A new empty directory C:\archive-tests\<Name> on the test machine.
std::string FreshDir(const std::string& Name);
// The Unix path behind a Windows path, for outside tools.
std::string UnixOf(const std::string& Path);
// Runs a command; its exit code. Output goes to OutputFile (a Unix path) when given.
int RunCommand(const std::string& Command, std::string* Output = nullptr);
// Deterministic bytes that compress somewhat, like real files.
std::string SampleBytes(size_t Size, unsigned Seed);
// Bytes that do not compress at all.
std::string NoiseBytes(size_t Size, unsigned Seed);
// The source folder of these tests (QNL_SOURCE/tests/archive) as a Unix path.
std::string SourceDir();

} // namespace qnl::test
