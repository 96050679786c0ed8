// Helpers of the end-to-end tests: real programs run as subprocesses on a fresh machine.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace qnl::test {

// What a finished program left: its exit status and its two output streams.
struct TProcessResult {
  int ExitStatus = -1;
  std::string Out;
  std::string Err;
};

// The text form of the smallest installing project: the two standard specifiers it needs and
// an install component with DestDir, no files.
std::string MinimalInstallProject(const std::string& Caption, const std::string& DestDir);

// The lines of an install log (QUENLOFT_LOG) without their timestamps; fails the calling test
// for a line without one.
std::vector<std::string> InstallLogSteps(const std::filesystem::path& Log);
// Whether one of Steps starts with Start.
bool HasStep(const std::vector<std::string>& Steps, const std::string& Start);

// A temporary directory with its own machine directory (WINEPREFIX) for each test.
class SetupProcessTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // Runs Command (a shell command line) with the test's WINEPREFIX, offscreen, and waits.
  TProcessResult Run(const std::string& Command) const;
  // The program built into build/bin (setup, quenloft).
  static std::string Bin(const std::string& Name);
  // A file of the source tree.
  static std::string Source(const std::string& Path);
  // A shell word for Text.
  static std::string Quote(const std::string& Text);
  // Writes a file in the test directory; returns its path.
  std::string WriteFile(const std::string& Name, const std::string& Content) const;
  // Makes a setup program carrying the text form FormPath; fails the test when it cannot.
  std::string CompileSetup(const std::string& FormPath, const std::string& Name = "setup") const;

  // The machine the programs run on (their WINEPREFIX).
  std::filesystem::path Machine() const { return FDir / "machine"; }
  // Points this process's WINEPREFIX at Machine() too, until the test's end: for what the
  // test makes in-process on the machine the programs use.
  void ShareMachineWithPrograms();

  std::filesystem::path FDir;

private:
  bool FSharesMachine = false;
  bool FHadPrefix = false;
  std::string FOldPrefix;
};

} // namespace qnl::test
