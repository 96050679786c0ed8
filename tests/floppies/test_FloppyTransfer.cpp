// The transfer of a self-extracting setup program onto floppy disks (-f), in this process.
#include <gtest/gtest.h>

#include "archive/TQnlfCompress.h"
#include "engine/InstallParameters.h"
#include "engine/cmp_TInstall.h"
#include "platform/files/WinPaths.h"
#include "platform/process/Process.h"
#include "tests/floppies/FloppyDisks.h"

using namespace qnl;
using namespace qnl::test;

namespace {

const char* Sorry = "Sorry... You can only transfer this installation to floppies through the self-extracting file. "
                    "Usage example: setup.exe *TODISK";

// Hears the status texts the install component broadcasts to its dialogs.
class TStatusWatcher : public TInstallObject {
public:
  TStatusWatcher(TComponent* AOwner, std::vector<std::string>& Heard) : TInstallObject(AOwner), FHeard(Heard) {}
  int32_t RegisteredType() const override { return 9000; }
  void InformationEvent(TObject*, int32_t Code, TObject* PO) override {
    auto* message = dynamic_cast<TMessageParameter*>(PO);
    FHeard.push_back(std::to_string(Code) + (message ? " " + message->Text : ""));
  }

private:
  std::vector<std::string>& FHeard;
};

class FloppyTransfer : public ::testing::Test {
protected:
  void SetUp() override {
    // Archive headers keep a member's source path in a short field: short directories.
    static int testNumber = 0;
    FRoot =
        std::filesystem::temp_directory_path() / ("qflp" + std::to_string(::getpid())) / std::to_string(++testNumber);
    std::filesystem::remove_all(FRoot);
    FMachine = std::make_unique<TFloppyMachine>(FRoot, 3);
  }
  void TearDown() override {
    FMachine.reset();
    if (!HasFailure()) std::filesystem::remove_all(FRoot.parent_path());
  }
  bool OnDisk(int Disk, const std::string& Name) const { return std::filesystem::exists(FMachine->Disk(Disk) / Name); }
  static void ExpectHandlersRemoved() {
    EXPECT_FALSE(QnlfCompress().OnNewDisk);
    EXPECT_FALSE(QnlfCompress().OnStatus);
  }

  std::filesystem::path FRoot;
  std::unique_ptr<TFloppyMachine> FMachine;
};

TEST_F(FloppyTransfer, WithoutTheSelfExtractorSwitchNothingIsTransferred) {
  TSelfExtractingSetup setup = MakeSelfExtractingSetup(FRoot / "dist", "loader", {{"a.exe", "program"}}, {});
  TTransferOptions options;
  options.SelfExtractor = false;
  TTransferResult r = TransferInProcess(*FMachine, setup, options);
  EXPECT_EQ(r.Message, Sorry);
  EXPECT_EQ(r.ExitStatus, kExitFailed);
  EXPECT_TRUE(r.Terminated);
  EXPECT_TRUE(std::filesystem::is_empty(FMachine->Disk(1)));
  EXPECT_EQ(FMachine->Prompts(), std::vector<std::string>{Sorry});
}

TEST_F(FloppyTransfer, ThreeSmallDisksReceiveTheWholeDistribution) {
  TThreeDiskSet set = MakeThreeDiskSet(*FMachine, FRoot / "dist");
  EXPECT_EQ(ReadFile(FMachine->Disk(1) / "setup.exe"), set.Setup.Loader + LoaderTrailer());
  EXPECT_EQ(ReadFile(FMachine->Disk(1) / "setup.1"), set.Setup.Setup1);
  // Each full disk holds as much of the archive as it took; the last one the rest.
  EXPECT_EQ(std::filesystem::file_size(FMachine->Disk(1) / "files.1"), set.DiskBytes);
  EXPECT_EQ(std::filesystem::file_size(FMachine->Disk(2) / "files.2"), set.DiskBytes);
  EXPECT_LT(std::filesystem::file_size(FMachine->Disk(3) / "files.3"), set.DiskBytes);
  EXPECT_EQ(std::filesystem::file_size(FMachine->Disk(1) / "files.1") +
                std::filesystem::file_size(FMachine->Disk(2) / "files.2") +
                std::filesystem::file_size(FMachine->Disk(3) / "files.3"),
            set.Setup.Files1.size());
  for (const char* name : {"setup.exe", "setup.1", "files.1", "files.2"}) EXPECT_FALSE(OnDisk(3, name)) << name;
  EXPECT_FALSE(OnDisk(2, "files.1"));
  // Disk 1 comes back last for the final member table.
  EXPECT_EQ(FMachine->Prompts(),
            (std::vector<std::string>{"Please insert disk 2", "Please insert disk 3", "Please insert disk 1"}));
  ExpectHandlersRemoved();
}

TEST_F(FloppyTransfer, TheDisksReadBackAsTheOriginalMembers) {
  TThreeDiskSet set = MakeThreeDiskSet(*FMachine, FRoot / "dist");
  std::filesystem::path all = FRoot / "all";
  std::filesystem::create_directories(all);
  for (int disk = 1; disk <= 3; ++disk) {
    std::string name = "files." + std::to_string(disk);
    std::filesystem::copy_file(FMachine->Disk(disk) / name, all / name);
  }
  TQnlfCompress zip(nullptr);
  zip.SetCompressedFile(WindowsPathOf((all / "files.1").string()));
  ASSERT_EQ(zip.GetFileCount(), 3);
  zip.SetExtractDirectory(WindowsPathOf((FRoot / "out").string()));
  // Members are named by their source paths.
  for (int i = 0; i < 3; ++i) zip.FilesToProcess().Add(zip.GetFileStats(i).FileName);
  zip.Extract();
  for (const TArchiveMember& member : set.Members) EXPECT_EQ(ReadFile(FRoot / "out" / member.Name), member.Content);
  // The members' data starts on the first disk, and the last one ends on the third.
  EXPECT_EQ(zip.FileHeaders().FileHeaders(0).FirstDisk(), 1);
  EXPECT_EQ(zip.FileHeaders().FileHeaders(2).LastDisk(), 3);
}

TEST_F(FloppyTransfer, TheStatusIsShownWhileTheFirstDiskIsWritten) {
  TSelfExtractingSetup setup =
      MakeSelfExtractingSetup(FRoot / "dist", "loader", {{"a.exe", "program"}}, {{"m.dat", "member"}});
  std::vector<std::string> heard;
  TTransferOptions options;
  options.Prepare = [&](TCustomInstall& Install) {
    (new TStatusWatcher(Install.Owner(), heard))->SetContainer(&Install);
  };
  TTransferResult r = TransferInProcess(*FMachine, setup, options);
  EXPECT_EQ(r.ExitStatus, kExitInstalled) << r.Message;
  EXPECT_EQ(r.Message, "");
  EXPECT_TRUE(r.Terminated);
  EXPECT_EQ(heard,
            (std::vector<std::string>{"-974 Transferring this installation to floppies. Please wait...", "-973"}));
  EXPECT_EQ(ReadFile(FMachine->Disk(1) / "setup.1"), setup.Setup1);
  EXPECT_TRUE(OnDisk(1, "files.1"));
}

TEST_F(FloppyTransfer, TheStatusIsRemovedWhenTheFirstDiskFails) {
  TSelfExtractingSetup setup =
      MakeSelfExtractingSetup(FRoot / "dist", NoiseBytes(3000, 3), {{"a.exe", "program"}}, {{"m.dat", "member"}});
  std::vector<std::string> heard;
  TTransferOptions options;
  options.DiskBytes = 1024;
  options.Prepare = [&](TCustomInstall& Install) {
    (new TStatusWatcher(Install.Owner(), heard))->SetContainer(&Install);
  };
  TTransferResult r = TransferInProcess(*FMachine, setup, options);
  EXPECT_EQ(r.ExitStatus, kExitFailed);
  EXPECT_EQ(heard,
            (std::vector<std::string>{"-974 Transferring this installation to floppies. Please wait...", "-973"}));
}

TEST_F(FloppyTransfer, CancelAtTheDiskPromptAbortsTheTransfer) {
  TThreeDiskSet set;
  set.Members = {{"big.dat", NoiseBytes(30000, 7)}};
  set.Setup = MakeSelfExtractingSetup(FRoot / "dist", "loader", {{"a.exe", "program"}}, set.Members);
  TTransferOptions options;
  options.DiskBytes = 16000;
  options.CancelAt = 2;
  TTransferResult r = TransferInProcess(*FMachine, set.Setup, options);
  EXPECT_EQ(r.Message, "Aborted by user");
  EXPECT_EQ(r.ExitStatus, kExitFailed);
  EXPECT_TRUE(r.Terminated);
  EXPECT_EQ(FMachine->Prompts(), (std::vector<std::string>{"Please insert disk 2", "Aborted by user"}));
  EXPECT_FALSE(OnDisk(2, "files.2"));
  ExpectHandlersRemoved();
}

TEST_F(FloppyTransfer, ALoadingProgramThatDoesNotFitFails) {
  TSelfExtractingSetup setup =
      MakeSelfExtractingSetup(FRoot / "dist", NoiseBytes(3000, 3), {{"a.exe", "program"}}, {{"m.dat", "member"}});
  TTransferOptions options;
  options.DiskBytes = 1024;
  TTransferResult r = TransferInProcess(*FMachine, setup, options);
  EXPECT_EQ(r.Message, "Cannot create setup.exe on the A drive. Probably not enough room");
  EXPECT_EQ(r.ExitStatus, kExitFailed);
  EXPECT_FALSE(OnDisk(1, "setup.1"));
}

TEST_F(FloppyTransfer, ASetupArchiveThatDoesNotFitFails) {
  TSelfExtractingSetup setup = MakeSelfExtractingSetup(FRoot / "dist", NoiseBytes(500, 3),
                                                       {{"a.exe", NoiseBytes(5000, 4)}}, {{"m.dat", "member"}});
  TTransferOptions options;
  options.DiskBytes = 2048;
  TTransferResult r = TransferInProcess(*FMachine, setup, options);
  EXPECT_EQ(r.Message, "Cannot create setup.1 on the A drive. Probably not enough room");
  EXPECT_EQ(r.ExitStatus, kExitFailed);
  EXPECT_EQ(ReadFile(FMachine->Disk(1) / "setup.exe"), setup.Loader + LoaderTrailer());
  EXPECT_FALSE(OnDisk(1, "files.1"));
}

TEST_F(FloppyTransfer, ADistributionWithoutFilesNeedsOneDisk) {
  TSelfExtractingSetup setup = MakeSelfExtractingSetup(FRoot / "dist", "loader", {{"a.exe", "program"}}, {});
  TTransferResult r = TransferInProcess(*FMachine, setup);
  EXPECT_EQ(r.ExitStatus, kExitInstalled) << r.Message;
  EXPECT_EQ(ReadFile(FMachine->Disk(1) / "setup.exe"), "loader" + LoaderTrailer());
  EXPECT_EQ(ReadFile(FMachine->Disk(1) / "setup.1"), setup.Setup1);
  EXPECT_FALSE(OnDisk(1, "files.1"));
  EXPECT_TRUE(FMachine->Prompts().empty());
}

TEST_F(FloppyTransfer, ALoadingProgramsOwnTrailerIsRefused) {
  TSelfExtractingSetup setup = MakeSelfExtractingSetup(FRoot / "dist", "loader", {{"a.exe", "program"}}, {});
  WriteFile(setup.File, "loader" + LoaderTrailer());
  TTransferResult r = TransferInProcess(*FMachine, setup);
  EXPECT_EQ(r.Message, "The self-extract info at the end of " + WindowsPathOf(setup.File.string()) +
                           " does not describe a self-extracting setup program");
  EXPECT_EQ(r.ExitStatus, kExitFailed);
  EXPECT_TRUE(std::filesystem::is_empty(FMachine->Disk(1)));
}

TEST_F(FloppyTransfer, AFileTooShortForATrailerIsRefused) {
  TSelfExtractingSetup setup = MakeSelfExtractingSetup(FRoot / "dist", "loader", {{"a.exe", "program"}}, {});
  WriteFile(setup.File, "short");
  TTransferResult r = TransferInProcess(*FMachine, setup);
  EXPECT_EQ(r.Message, "Could not read the extraction info from the archive file " +
                           WindowsPathOf(setup.File.string()) +
                           " when trying to find the correct offset into the self extracting file");
  EXPECT_EQ(r.ExitStatus, kExitFailed);
}

TEST_F(FloppyTransfer, AMachineWithoutDriveAFailsWithThePathError) {
  TSelfExtractingSetup setup = MakeSelfExtractingSetup(FRoot / "dist", "loader", {{"a.exe", "program"}}, {});
  std::filesystem::remove(FMachine->Directory() / "dosdevices" / "a:");
  TTransferResult r = TransferInProcess(*FMachine, setup);
  EXPECT_NE(r.Message.find("The drive A: does not exist on this machine"), std::string::npos) << r.Message;
  EXPECT_EQ(r.ExitStatus, kExitFailed);
  EXPECT_TRUE(r.Terminated);
}

TEST_F(FloppyTransfer, TheAnswerCommandInsertsTheDiskAskedFor) {
  std::filesystem::path driveA = FMachine->Directory() / "dosdevices" / "a:";
  EXPECT_EQ(RunShellCommand(FMachine->AnswerCommand(), {"Please insert disk 3"}), 0);
  EXPECT_EQ(std::filesystem::read_symlink(driveA), FMachine->Disk(3));
  // The installation's own prompt.
  EXPECT_EQ(RunShellCommand(FMachine->AnswerCommand(), {"Please insert disk #2"}), 0);
  EXPECT_EQ(std::filesystem::read_symlink(driveA), FMachine->Disk(2));
  EXPECT_EQ(RunShellCommand(FMachine->AnswerCommand(3), {"Please insert disk 3"}), 1);
  EXPECT_EQ(std::filesystem::read_symlink(driveA), FMachine->Disk(2));
  EXPECT_EQ(RunShellCommand(FMachine->AnswerCommand(3), {"Anything else?"}), 0);
  EXPECT_EQ(FMachine->Prompts(), (std::vector<std::string>{"Please insert disk 3", "Please insert disk #2",
                                                           "Please insert disk 3", "Anything else?"}));
}

} // namespace
