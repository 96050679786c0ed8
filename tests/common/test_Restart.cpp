// Delayed moves, WININIT.INI, the restart request and what the machine's start does with them.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "common/routines_API.h"
#include "platform/Machine.h"
#include "platform/files/DelayedMoves.h"
#include "platform/files/Files.h"
#include "platform/files/ShortNames.h"
#include "platform/process/Process.h"
#include "platform/process/Restart.h"
#include "platform/registry/Registry.h"
#include "platform/system/SystemInfo.h"
#include "tests/support/PlatformTest.h"

namespace qnl::test {
namespace {

constexpr const char* kSessionManager = "System\\CurrentControlSet\\Control\\Session Manager";
constexpr const char* kRunOnce = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

class Restart : public TPlatformTest {
protected:
  std::string PendingData() {
    auto key = TRegKey::Open(TRootKey::rkLocalMachine, kSessionManager);
    if (!key) return "<no key>";
    auto value = key->ReadValue("PendingFileRenameOperations");
    if (!value) return "<no value>";
    EXPECT_EQ(value->Type, TRegType::rtMultiString);
    return value->Data;
  }
  // Runs the machine tool, when it is built, and returns its exit status and output.
  int RunTool(const std::string& Args, std::string& Output) {
    // QNL_BIN when set, else beside the tests folder of the build tree (build/tests, build/bin).
    const char* bin = std::getenv("QNL_BIN");
    std::string tool =
        bin ? std::string(bin) + "/quenloft"
            : std::filesystem::canonical("/proc/self/exe").parent_path().parent_path().string() + "/bin/quenloft";
    if (!std::filesystem::exists(tool)) return -1;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen((tool + " " + Args + " 2>&1").c_str(), "r"), ::pclose);
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe.get())) > 0) Output.append(buf, n);
    int status = ::pclose(pipe.release());
    return WEXITSTATUS(status);
  }
};

TEST_F(Restart, DelayedMoveIsRecordedWhereWindowsNtKeepsIt) {
  MoveFileDelayed("C:\\Program Files\\App\\a.1", "C:\\Program Files\\App\\a.dll", TExisting::exFail);
  MoveFileDelayed("C:\\temp\\x.tmp", "", TExisting::exFail);
  MoveFileDelayed("C:/b.new", "c:/b.dll", TExisting::exReplace);
  const std::string nul(1, '\0');
  EXPECT_EQ(PendingData(), "\\??\\C:\\Program Files\\App\\a.1" + nul + "\\??\\C:\\Program Files\\App\\a.dll" + nul +
                               "\\??\\C:\\temp\\x.tmp" + nul + nul + "\\??\\C:\\b.new" + nul + "!\\??\\C:\\b.dll" +
                               nul);
  auto pending = PendingFileRenames();
  ASSERT_EQ(pending.size(), 3u);
  EXPECT_EQ(pending[0].Source, "C:\\Program Files\\App\\a.1");
  EXPECT_EQ(pending[0].Dest, "C:\\Program Files\\App\\a.dll");
  EXPECT_FALSE(pending[0].Replace);
  EXPECT_EQ(pending[1].Dest, "");
  EXPECT_TRUE(pending[2].Replace);
  EXPECT_EQ(pending[2].Dest, "C:\\b.dll");
}

TEST_F(Restart, WininitEntriesGoIntoTheRenameSection) {
  WriteMachineFile("C:\\windows\\WININIT.INI",
                   "[Other]\r\nkey=value\r\n[rename]\r\nNUL=C:\\junk.tmp\r\n\r\n[Last]\r\nx=y\r\n");
  WriteWininitRename("C:\\PROG~FBU\\APP\\A.DLL", "C:\\PROG~FBU\\APP\\A.1");
  WriteWininitRename("NUL", "C:\\more.tmp");
  WriteWininitRename("c:\\prog~fbu\\app\\a.dll", "C:\\PROG~FBU\\APP\\A.2");
  EXPECT_EQ(
      ReadMachineFile("C:\\windows\\WININIT.INI"),
      "[Other]\r\nkey=value\r\n[rename]\r\nNUL=C:\\junk.tmp\r\nc:\\prog~fbu\\app\\a.dll=C:\\PROG~FBU\\APP\\A.2\r\n"
      "NUL=C:\\more.tmp\r\n\r\n[Last]\r\nx=y\r\n");
  auto renames = WininitRenames();
  ASSERT_EQ(renames.size(), 3u);
  EXPECT_EQ(renames[1].Source, "C:\\PROG~FBU\\APP\\A.2");
}

TEST_F(Restart, WininitFileIsCreatedWhenMissing) {
  WriteWininitRename("C:\\A.DLL", "C:\\A.1");
  EXPECT_EQ(ReadMachineFile("C:\\windows\\WININIT.INI"), "[Rename]\r\nC:\\A.DLL=C:\\A.1\r\n");
}

TEST_F(Restart, StartPutsDelayedMovesAndWininitRenamesInPlace) {
  ForceDirectories("C:\\Program Files\\My App");
  WriteMachineFile("C:\\Program Files\\My App\\Shared Library.dll", "old");
  WriteMachineFile("C:\\Program Files\\My App\\Shared Library.1", "new");
  WriteMachineFile("C:\\windows\\system32\\oldname.dll", "old95");
  WriteMachineFile("C:\\windows\\system32\\oldname.1", "new95");
  WriteMachineFile("C:\\windows\\temp\\gone.tmp", "");
  // Windows 95 style: short names in WININIT.INI.
  std::string oldShort = ShortPathName("C:\\Program Files\\My App\\Shared Library.dll");
  std::string newShort = ShortPathName("C:\\Program Files\\My App\\Shared Library.1");
  WriteWininitRename(oldShort, newShort);
  WriteWininitRename("NUL", "C:\\windows\\temp\\gone.tmp");
  // Windows NT style.
  ASSERT_TRUE(MoveFileAtRestart("C:\\windows\\system32\\oldname.1", "C:\\windows\\system32\\oldname.dll"));
  TStartReport report = RunStartOfWindows();
  EXPECT_EQ(report.Failures, 0) << report.Lines.at(0);
  EXPECT_EQ(ReadMachineFile("C:\\Program Files\\My App\\Shared Library.dll"), "new");
  EXPECT_FALSE(FileExists("C:\\Program Files\\My App\\Shared Library.1"));
  EXPECT_FALSE(FileExists("C:\\windows\\temp\\gone.tmp"));
  EXPECT_EQ(ReadMachineFile("C:\\windows\\system32\\oldname.dll"), "new95");
  EXPECT_FALSE(FileExists("C:\\windows\\WININIT.INI"));
  EXPECT_TRUE(FileExists("C:\\windows\\WININIT.BAK"));
  EXPECT_EQ(PendingData(), "<no value>");
  EXPECT_TRUE(PendingFileRenames().empty());
}

TEST_F(Restart, DelayedMoveWithoutReplaceFailsOnAnExistingFile) {
  WriteMachineFile("C:\\a.dll", "old");
  WriteMachineFile("C:\\a.1", "new");
  MoveFileDelayed("C:\\a.1", "C:\\a.dll", TExisting::exFail);
  TStartReport report = RunStartOfWindows();
  EXPECT_EQ(report.Failures, 1);
  EXPECT_EQ(ReadMachineFile("C:\\a.dll"), "old");
}

TEST_F(Restart, RunOnceEntriesRunOnceInNameOrderAndAreGone) {
  std::string log = Unix("C:\\") + "/order.log";
  WriteScript("C:\\b.sh", "echo b >> " + log);
  WriteScript("C:\\a.sh", "echo a >> " + log);
  WriteScript("C:\\c.sh", "echo c >> " + log);
  WriteMachineFile("C:\\windows\\temp\\bat1.tmp", "");
  WriteMachineFile("C:\\windows\\temp\\bat1.bat",
                   "ERASE C:\\windows\\temp\\bat1.tmp\r\nERASE C:\\windows\\temp\\bat1.bat\r\n");
  TRegKey key = TRegKey::Create(TRootKey::rkLocalMachine, kRunOnce);
  key.WriteString("QuenloftUnfinished", "C:\\c.sh -r");
  key.WriteString("QuenloftBatFile", "C:\\windows\\temp\\bat1.bat");
  key.WriteString("beta", "C:\\b.sh");
  key.WriteString("Alpha", "C:\\a.sh");
  TStartReport report = RunStartOfWindows();
  EXPECT_EQ(report.Failures, 0);
  EXPECT_EQ(ReadMachineFile("C:\\order.log"), "a\nb\nc\n");
  EXPECT_FALSE(FileExists("C:\\windows\\temp\\bat1.tmp"));
  EXPECT_FALSE(FileExists("C:\\windows\\temp\\bat1.bat"));
  EXPECT_TRUE(TRegKey::Open(TRootKey::rkLocalMachine, kRunOnce)->ValueNames().empty());
  RunStartOfWindows();
  EXPECT_EQ(ReadMachineFile("C:\\order.log"), "a\nb\nc\n");
}

TEST_F(Restart, FailingCommandIsReportedAndTheRestGoOn) {
  WriteScript("C:\\fail.sh", "exit 4");
  WriteScript("C:\\ok.sh", "touch " + Unix("C:\\") + "/ok.txt");
  TRegKey key = TRegKey::Create(TRootKey::rkLocalMachine, kRunOnce);
  key.WriteString("1", "C:\\fail.sh");
  key.WriteString("2", "C:\\missing.exe");
  key.WriteString("3", "C:\\ok.sh");
  TStartReport report = RunStartOfWindows();
  EXPECT_EQ(report.Failures, 2);
  EXPECT_TRUE(FileExists("C:\\ok.txt"));
}

TEST_F(Restart, RestartRequestFollowsTheVersionClass) {
  SetWindowsVersionName("win98");
  EXPECT_TRUE(RestartWindows());
  EXPECT_TRUE(RestartRequested());
  RunStartOfWindows();
  EXPECT_FALSE(RestartRequested());
  SetWindowsVersionName("winxp");
  EXPECT_TRUE(RestartWindows());
  EXPECT_TRUE(RestartRequested());
  RunStartOfWindows();
  for (const char* other : {"win31", "nt351"}) {
    SetWindowsVersionName(other);
    EXPECT_FALSE(RestartWindows()) << other;
    EXPECT_FALSE(RestartRequested()) << other;
  }
}

TEST_F(Restart, FailingPrivilegeStepFailsTheRestartOnNtOnly) {
  SetWindowsVersionName("win10");
  setenv("QNL_FAIL_PRIVILEGE", "1", 1);
  EXPECT_FALSE(EnableShutdownPrivilege());
  EXPECT_FALSE(RestartWindows());
  EXPECT_FALSE(RestartRequested());
  SetWindowsVersionName("win95");
  EXPECT_TRUE(RestartWindows());
  unsetenv("QNL_FAIL_PRIVILEGE");
  SetPrivilegeFailure(true);
  SetWindowsVersionName("win2k");
  EXPECT_FALSE(RestartWindows());
  SetPrivilegeFailure(false);
  EXPECT_TRUE(RestartWindows());
  EXPECT_FALSE(ExitWindowsEx(0, 0));
}

TEST_F(Restart, MachineToolRestartsAndListsPending) {
  WriteMachineFile("C:\\a.dll", "old");
  WriteMachineFile("C:\\a.1", "new");
  WriteMachineFile("C:\\w.dll", "old");
  WriteMachineFile("C:\\w.1", "new");
  MoveFileAtRestart("C:\\a.1", "C:\\a.dll");
  WriteWininitRename("C:\\W.DLL", "C:\\W.1");
  WriteScript("C:\\run.sh", "touch " + Unix("C:\\") + "/ran.txt");
  TRegKey::Create(TRootKey::rkLocalMachine, kRunOnce).WriteString("QuenloftUnfinished", "C:\\run.sh");
  TMachine::Current().Flush();
  std::string out;
  int status = RunTool("machine pending", out);
  if (status < 0) GTEST_SKIP() << "the quenloft tool is not built";
  EXPECT_EQ(status, 0) << out;
  EXPECT_NE(out.find("C:\\W.DLL=C:\\W.1"), std::string::npos) << out;
  EXPECT_NE(out.find("C:\\a.1 -> !C:\\a.dll"), std::string::npos) << out;
  EXPECT_NE(out.find("QuenloftUnfinished = C:\\run.sh"), std::string::npos) << out;
  out.clear();
  EXPECT_EQ(RunTool("machine restart", out), 0) << out;
  EXPECT_EQ(ReadMachineFile("C:\\a.dll"), "new");
  EXPECT_EQ(ReadMachineFile("C:\\w.dll"), "new");
  EXPECT_TRUE(FileExists("C:\\ran.txt"));
  EXPECT_TRUE(FileExists("C:\\windows\\WININIT.BAK"));
  EXPECT_TRUE(PendingFileRenames().empty());
  EXPECT_TRUE(TRegKey::Open(TRootKey::rkLocalMachine, kRunOnce)->ValueNames().empty());
  out.clear();
  EXPECT_EQ(RunTool("machine pending", out), 0);
  EXPECT_NE(out.find("Nothing is pending."), std::string::npos) << out;
}

TEST_F(Restart, MachineToolShowsAndSetsTheVersion) {
  std::string out;
  if (RunTool("machine version", out) < 0) GTEST_SKIP() << "the quenloft tool is not built";
  EXPECT_NE(out.find("win10: Windows NT 10.0"), std::string::npos) << out;
  out.clear();
  EXPECT_EQ(RunTool("machine version nt351", out), 0) << out;
  EXPECT_NE(out.find("nt351: Windows NT 3.51 build 1057 Service Pack 5"), std::string::npos) << out;
  EXPECT_EQ(WindowsVersionName(), "nt351");
  EXPECT_EQ(GetWindowsVersionClass(), wvcWinNT35);
  out.clear();
  EXPECT_EQ(RunTool("machine version win99", out), 1);
  EXPECT_NE(out.find("Unknown Windows version \"win99\""), std::string::npos) << out;
}

} // namespace
} // namespace qnl::test
