// Starting programs: WinExec, waiting for programs, the start log and the batch interpreter.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "common/routines_API.h"
#include "platform/OSError.h"
#include "platform/files/Files.h"
#include "platform/files/ShortNames.h"
#include "platform/files/WinPaths.h"
#include "platform/process/BatchFile.h"
#include "platform/process/MachineLogs.h"
#include "platform/process/Process.h"
#include "tests/support/PlatformTest.h"

namespace qnl::test {
namespace {

class Process : public TPlatformTest {
protected:
  // Waits up to two seconds for a file to appear.
  bool Appears(const std::string& WindowsPath) {
    for (int i = 0; i < 200; ++i) {
      if (FileExists(WindowsPath)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }
};

TEST(CommandLine, SplitsLikeWindows) {
  auto words = SplitCommandLine("\"C:\\Program Files\\app.exe\" -r \"-sC:\\My Build\" -c");
  ASSERT_EQ(words.size(), 4u);
  EXPECT_EQ(words[0], "C:\\Program Files\\app.exe");
  EXPECT_EQ(words[1], "-r");
  EXPECT_EQ(words[2], "-sC:\\My Build");
  EXPECT_EQ(words[3], "-c");
  EXPECT_EQ(SplitCommandLine("  a\tb  ").size(), 2u);
  EXPECT_EQ(SplitCommandLine("\"\"").at(0), "");
  EXPECT_TRUE(SplitCommandLine("").empty());
}

TEST_F(Process, NativeProgramRunsDetached) {
  ForceDirectories("C:\\tools");
  WriteScript("C:\\tools\\make marker.sh", "touch \"" + Unix("C:\\") + "/marker.txt\"");
  EXPECT_EQ(WinExec("\"C:\\tools\\make marker.sh\" arg", SW_SHOW), kWinExecStarted);
  EXPECT_TRUE(Appears("C:\\marker.txt"));
}

TEST_F(Process, ANativeProgramWithoutRunRightsGetsThemWhenStarted) {
  // As an installed file is: extracted from an archive, which keeps no run rights.
  WriteMachineFile("C:\\installed.sh", "#!/bin/sh\ntouch \"" + Unix("C:\\") + "/ran.txt\"\n");
  EXPECT_EQ(WinExec("C:\\installed.sh", SW_SHOW), kWinExecStarted);
  EXPECT_TRUE(Appears("C:\\ran.txt"));
}

TEST_F(Process, MissingProgramsAndNonProgramsFail) {
  EXPECT_EQ(WinExec("C:\\nothing.exe", SW_SHOW), kWinExecFileNotFound);
  EXPECT_EQ(ExecuteCommand("C:\\nothing.exe", SW_SHOW), kWinExecFileNotFound);
  WriteMachineFile("C:\\readme.txt", "text");
  EXPECT_EQ(WinExec("C:\\readme.txt", SW_SHOW), kWinExecBadFormat);
  EXPECT_THROW(RunAndWait("C:\\nothing.exe"), EOSError);
}

TEST_F(Process, WindowsProgramWithoutWineIsRecorded) {
  ForceDirectories("C:\\Program Files\\App");
  WriteMachineFile("C:\\Program Files\\App\\app.exe", std::string("MZ\x90\0fake", 8));
  EXPECT_EQ(WinExec("\"C:\\Program Files\\App\\app.exe\" /quiet", SW_SHOWNORMAL), kWinExecStarted);
  auto log = ReadStartLog();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0], "exec 1 \"C:\\Program Files\\App\\app.exe\" /quiet");
}

TEST_F(Process, BareNamesAreFoundInTheSystemDirectory) {
  WriteMachineFile("C:\\windows\\system32\\tool.exe", "MZ");
  EXPECT_EQ(WinExec("tool /x", SW_HIDE), kWinExecStarted);
  EXPECT_EQ(ReadStartLog().at(0), "exec 0 tool /x");
}

TEST_F(Process, RunAndWaitReturnsTheExitStatus) {
  WriteScript("C:\\exit3.sh", "exit 3");
  EXPECT_EQ(RunAndWait("C:\\exit3.sh"), 3);
}

TEST_F(Process, BatchEraseDeltreeMove) {
  WriteMachineFile("C:\\windows\\temp\\setup  tmp\\setup.exe", "x");
  WriteMachineFile("C:\\windows\\temp\\setup  tmp\\sub\\f.txt", "x");
  WriteMachineFile("C:\\Program Files\\App\\new 1.dll", "new");
  WriteMachineFile("C:\\Program Files\\App\\a.dll", "old");
  WriteMachineFile("C:\\Program Files\\App\\b.1", "next");
  WriteMachineFile("C:\\app\\w1.tmp", "");
  WriteMachineFile("C:\\app\\w2.tmp", "");
  std::string shortDir = "C:\\" + ShortFileName("Program Files") + "\\App";
  int failures = RunBatchText("@echo off\r\n"
                              "rem the files the engine writes\r\n"
                              ":: another comment\r\n"
                              // Quoted paths keep their blanks, a run of them too.
                              "ERASE \"C:\\windows\\temp\\setup  tmp\\setup.exe\"\r\n"
                              "DELTREE /Y \"C:\\windows\\temp\\setup  tmp\"\r\n"
                              "MOVE \"C:\\Program Files\\App\\new 1.dll\" \"C:\\Program Files\\App\\c.dll\"\r\n"
                              // The restart batch of earlier versions: unquoted short names.
                              "erase " +
                              shortDir +
                              "\\A.DLL\r\n"
                              "move " +
                              shortDir + "\\B.1 " + shortDir +
                              "\\A.DLL\r\n"
                              "del C:\\app\\w*.tmp\r\n");
  EXPECT_EQ(failures, 0);
  EXPECT_FALSE(DirectoryExists("C:\\windows\\temp\\setup  tmp"));
  EXPECT_EQ(ReadMachineFile("C:\\Program Files\\App\\c.dll"), "new");
  EXPECT_EQ(ReadMachineFile("C:\\Program Files\\App\\a.dll"), "next");
  EXPECT_FALSE(FileExists("C:\\Program Files\\App\\b.1"));
  EXPECT_FALSE(FileExists("C:\\app\\w1.tmp"));
  EXPECT_FALSE(FileExists("C:\\app\\w2.tmp"));
}

TEST_F(Process, BatchFailuresDoNotStopTheFile) {
  WriteMachineFile("C:\\last.txt", "x");
  // A line that cannot be read stops the whole file before it runs (see the batch guard's
  // tests); a command that fails does not stop the lines after it.
  int failures = RunBatchText("ERASE C:\\missing.txt\nMOVE C:\\missing C:\\x\nERASE C:\\last.txt\n");
  EXPECT_EQ(failures, 2);
  EXPECT_FALSE(FileExists("C:\\last.txt"));
}

TEST_F(Process, BatchFileMayEraseItself) {
  WriteMachineFile("C:\\windows\\temp\\bat1.bat",
                   "ERASE C:\\windows\\temp\\bat1.PIF\r\nERASE C:\\windows\\temp\\bat1.bat\r\n");
  WriteMachineFile("C:\\windows\\temp\\bat1.PIF", "");
  EXPECT_EQ(RunBatchFile("C:\\windows\\temp\\bat1.bat"), 0);
  EXPECT_FALSE(FileExists("C:\\windows\\temp\\bat1.bat"));
  EXPECT_FALSE(FileExists("C:\\windows\\temp\\bat1.PIF"));
}

TEST_F(Process, BatchWaitsForTheProgramThatStartedIt) {
  WriteMachineFile("C:\\in use.exe", "x");
  pid_t child = ::fork();
  if (child == 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ::_exit(0);
  }
  WriteMachineFile("C:\\clean.bat", "ERASE \"C:\\in use.exe\"\r\n");
  std::thread reaper([child] {
    int status;
    ::waitpid(child, &status, 0);
  });
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(RunBatchFile("C:\\clean.bat", child), 0);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250));
  EXPECT_FALSE(FileExists("C:\\in use.exe"));
  reaper.join();
}

TEST_F(Process, WinExecOfABatchFileRunsAfterTheStarterEnds) {
  WriteMachineFile("C:\\setup.exe", "x");
  WriteMachineFile("C:\\cleanup.bat", "ERASE C:\\setup.exe\r\nERASE C:\\cleanup.bat\r\n");
  // A setup program starts the batch file hidden and ends; the file goes once it has ended.
  pid_t starter = ::fork();
  if (starter == 0) {
    uint32_t r = WinExec("C:\\cleanup.bat", SW_HIDE);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    // The starter's files are still there while it runs.
    ::_exit(r == kWinExecStarted && FileExists("C:\\setup.exe") ? 0 : 1);
  }
  int status = 0;
  ::waitpid(starter, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  for (int i = 0; i < 300 && FileExists("C:\\cleanup.bat"); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_FALSE(FileExists("C:\\setup.exe"));
  EXPECT_FALSE(FileExists("C:\\cleanup.bat"));
}

} // namespace
} // namespace qnl::test
