// A machine in a fresh temporary folder for each test, and helpers to run child processes.
#pragma once

#include <sys/types.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Machine.h"

namespace qnl::test {

// Each test gets its own machine folder (removed afterwards); WINEPREFIX points at it so
// that child processes work on the same machine.
class TMachineTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // Opens (and creates on first call) the machine object of this test.
  TMachine& Machine();
  // Destroys the machine object, as at the end of a process: journals are compacted.
  void CloseMachine();

  std::string FDir;
  std::unique_ptr<TMachine> FMachine;
  std::string FOldPrefix;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);
// The folder of the running test program (where test_RegistryChild lives).
std::string TestBinDir();
// Runs a program to its end; returns its exit status and fills `output` with its stdout.
// Starts args[0] with its standard output on a pipe; returns its pid (-1 on failure).
pid_t StartWithOutputPipe(const std::vector<std::string>& args, int& readFd);
int RunProgram(const std::vector<std::string>& args, std::string& output);

} // namespace qnl::test
