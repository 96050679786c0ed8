// A destination held open by another process: the new file waits beside it and the machine's
// restart (quenloft machine restart) puts it in place, on the NT and the Windows 95 route.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

#include "engine/TInstall.h"
#include "platform/Machine.h"
#include "platform/files/DelayedMoves.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "platform/registry/Registry.h"
#include "tests/files/FilesTestSupport.h"
#include "tests/support/LockHolder.h"

using namespace qnl;
using namespace qnl::test;

namespace {

// The install component with the unfinished list recorded here (the list of its own is a
// later part of the install component).
class TRecordingInstall : public TInstall {
public:
  using TInstall::TInstall;
  void AddUnfinished(const std::string& Name, int32_t Code) override {
    Unfinished.push_back(Name + ":" + std::to_string(Code));
  }
  std::vector<std::string> Unfinished;
};

class InUse : public FilesTest {
protected:
  void SetUp() override {
    FilesTest::SetUp();
    FInstall = new TRecordingInstall(FModule);
    FInstallDir = new TInstallDirectory(FModule);
    FInstallDir->SetArchiveFile("C:\\dist\\tool.1");
    FInstallDir->SetDestDir("C:\\Apps\\Tool");
    WriteMachineFile("C:\\src\\tool.dll", "new library");
    FFile = new TInstallFile(FModule, FInstallDir, "C:\\src\\tool.dll");
    FFile->SetName("ToolDll");
    FInstallDir->Compress(coForceNetFilesLocal);
    WriteMachineFile("C:\\Apps\\Tool\\tool.dll", "old library");
  }
  // Runs the machine tool; its exit status (-1 when it is not built) and output.
  int RunTool(const std::string& Args, std::string& Output) {
    TMachine::Current().Flush();
    std::string tool = QNL_QUENLOFT;
    if (!FileExists(WindowsPathOf(tool))) return -1;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen((tool + " " + Args + " 2>&1").c_str(), "r"), ::pclose);
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe.get())) > 0) Output.append(buf, n);
    int status = ::pclose(pipe.release());
    return WEXITSTATUS(status);
  }
  void InstallWhileLocked() {
    TLockHolder child(UnixPathOf("C:\\Apps\\Tool\\tool.dll"));
    FInstallDir->InstallObjects();
    EXPECT_EQ(ReadMachineFile("C:\\Apps\\Tool\\tool.dll"), "old library");
  }

  TRecordingInstall* FInstall = nullptr;
  TInstallDirectory* FInstallDir = nullptr;
  TInstallFile* FFile = nullptr;
};

TEST_F(InUse, TheNtRouteRecordsADelayedMoveThatTheRestartCarriesOut) {
  InstallWhileLocked();
  EXPECT_TRUE(FFile->RebootReplace());
  EXPECT_EQ(FFile->DestName(), "tool.1");
  EXPECT_EQ(ReadMachineFile("C:\\Apps\\Tool\\tool.1"), "new library");
  EXPECT_TRUE(FInstall->Reboot());
  EXPECT_EQ(FInstall->Unfinished, std::vector<std::string>{"ToolDll:0"});
  std::vector<TPendingRename> pending = PendingFileRenames();
  ASSERT_EQ(pending.size(), 1u);
  EXPECT_EQ(pending[0].Source, "C:\\Apps\\Tool\\tool.1");
  std::string out;
  int status = RunTool("machine restart", out);
  if (status < 0) GTEST_SKIP() << "the quenloft tool is not built";
  EXPECT_EQ(status, 0) << out;
  EXPECT_EQ(ReadMachineFile("C:\\Apps\\Tool\\tool.dll"), "new library");
  EXPECT_FALSE(FileExists("C:\\Apps\\Tool\\tool.1"));
}

TEST_F(InUse, TheWindows95RouteWritesWininitThatTheRestartCarriesOut) {
  TRegKey::Create(TRootKey::rkCurrentUser, "Software\\Wine").WriteString("Version", "win95");
  WriteMachineFile("C:\\Apps\\Tool\\tool.1", "an earlier leftover");
  InstallWhileLocked();
  EXPECT_EQ(FFile->DestName(), "tool.2"); // the next free number
  EXPECT_TRUE(FInstall->Reboot());
  EXPECT_TRUE(PendingFileRenames().empty());
  std::string wininit = ReadMachineFile("C:\\windows\\WININIT.INI");
  EXPECT_NE(wininit.find("[Rename]"), std::string::npos) << wininit;
  EXPECT_NE(wininit.find("tool.2"), std::string::npos) << wininit;
  std::string out;
  int status = RunTool("machine restart", out);
  if (status < 0) GTEST_SKIP() << "the quenloft tool is not built";
  EXPECT_EQ(status, 0) << out;
  EXPECT_EQ(ReadMachineFile("C:\\Apps\\Tool\\tool.dll"), "new library");
}

TEST_F(InUse, AFreeDestinationIsSimplyReplaced) {
  FInstallDir->InstallObjects();
  EXPECT_FALSE(FFile->RebootReplace());
  EXPECT_FALSE(FInstall->Reboot());
  EXPECT_EQ(ReadMachineFile("C:\\Apps\\Tool\\tool.dll"), "new library");
  EXPECT_TRUE(FInstall->Unfinished.empty());
}

} // namespace
