// The setup program's floppy transfer (-f) run as the loading program runs it for "*TODISK",
// and run by the loading program itself, with its disk prompts answered through
// QNL_MESSAGEBOX_COMMAND.
#include <unistd.h>

#include "tests/floppies/FloppyDisks.h"
#include "tests/support/SetupProcess.h"

using namespace qnl;
using namespace qnl::test;

namespace {

constexpr int64_t DiskBytes = 24000;

class FloppySetup : public SetupProcessTest {
protected:
  void SetUp() override {
    SetupProcessTest::SetUp();
    FMachine = std::make_unique<TFloppyMachine>(FDir, 3);
    FSetup = CompileSetup(WriteFile("formMain.txt", MinimalInstallProject("Floppy test", "\\Test")));
    // Archive headers keep a member's source path in a short field: a short directory.
    FDist = std::filesystem::temp_directory_path() / ("qfs" + std::to_string(::getpid()));
    std::filesystem::remove_all(FDist);
    std::vector<TArchiveMember> members;
    for (int i = 0; i < 3; ++i) members.push_back({"m" + std::to_string(i) + ".dat", NoiseBytes(20000, 10 + i)});
    FDistribution = MakeSelfExtractingSetup(FDist, NoiseBytes(3000, 1), {{"inst.exe", NoiseBytes(4000, 2)}}, members);
  }
  void TearDown() override {
    FMachine.reset();
    std::filesystem::remove_all(FDist);
    SetupProcessTest::TearDown();
  }
  TProcessResult Transfer(int CancelAt = 0) const {
    return Run(FloppyTransferCommand(FSetup, *FMachine, FDistribution.File, DiskBytes, CancelAt));
  }

  std::unique_ptr<TFloppyMachine> FMachine;
  std::string FSetup;
  std::filesystem::path FDist;
  TSelfExtractingSetup FDistribution;
};

TEST_F(FloppySetup, TheDistributionGoesOntoThreeDisks) {
  TProcessResult r = Transfer();
  EXPECT_EQ(r.ExitStatus, 0) << r.Err;
  EXPECT_EQ(ReadFile(FMachine->Disk(1) / "setup.exe"), FDistribution.Loader + LoaderTrailer());
  EXPECT_EQ(ReadFile(FMachine->Disk(1) / "setup.1"), FDistribution.Setup1);
  EXPECT_EQ(std::filesystem::file_size(FMachine->Disk(1) / "files.1"), DiskBytes);
  EXPECT_EQ(std::filesystem::file_size(FMachine->Disk(2) / "files.2"), DiskBytes);
  EXPECT_TRUE(std::filesystem::exists(FMachine->Disk(3) / "files.3"));
  EXPECT_EQ(FMachine->Prompts(),
            (std::vector<std::string>{"Please insert disk 2", "Please insert disk 3", "Please insert disk 1"}));
  EXPECT_NE(r.Err.find(": Please insert disk 2\n"), std::string::npos) << r.Err;
}

TEST_F(FloppySetup, CancelAtTheDiskPromptEndsWithAbortedByUser) {
  TProcessResult r = Transfer(3);
  EXPECT_EQ(r.ExitStatus, 1) << r.Err;
  EXPECT_EQ(FMachine->Prompts(),
            (std::vector<std::string>{"Please insert disk 2", "Please insert disk 3", "Aborted by user"}));
  EXPECT_FALSE(std::filesystem::exists(FMachine->Disk(3) / "files.3"));
}

// The loading program asked for "*TODISK" unpacks the setup program into a temporary directory
// and starts it with -f and -c: the transfer also removes that directory, so that the loading
// program finds it gone when the transfer ends.
TEST_F(FloppySetup, TheLoadingProgramTransfersAndLeavesNoTemporaryDirectory) {
  std::string loader = Bin("QuenloftLoadProgram.exe");
  if (!std::filesystem::exists(loader)) GTEST_SKIP() << "the loading program is not built";
  TSelfExtractingSetup dist = MakeSelfExtractingSetup(FDist / "real", ReadFile(loader), {{"setup", "", FSetup}},
                                                      {{"m.dat", NoiseBytes(20000, 5)}});
  std::filesystem::permissions(dist.File, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
  TProcessResult r =
      Run("env QNL_MESSAGEBOX_COMMAND=" + Quote(FMachine->AnswerCommand()) + " " + Quote(dist.File) + " '*TODISK'");
  EXPECT_EQ(r.ExitStatus, 0) << r.Err;
  EXPECT_TRUE(ReadFile(FMachine->Disk(1) / "setup.exe") == dist.Loader + LoaderTrailer());
  EXPECT_TRUE(ReadFile(FMachine->Disk(1) / "setup.1") == dist.Setup1);
  EXPECT_EQ(std::filesystem::file_size(FMachine->Disk(1) / "files.1"), dist.Files1.size());
  EXPECT_TRUE(FMachine->Prompts().empty());
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(FDir / "machine" / "drive_c" / "windows" / "temp", ec))
    EXPECT_NE(entry.path().filename().string().rfind("QNL", 0), 0u) << "left behind: " << entry.path();
}

} // namespace
