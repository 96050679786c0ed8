// How an installation ends: the exception handler, the clean-up of the temporary setup
// directory, and the removal of the install record and the downloaded archives.
#include "tests/engine/SequenceTestSupport.h"

#include "common/routines_API.h"
#include "common/routines_Strings.h"
#include "engine/InstallSession.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"

using namespace qnl;
using namespace qnl::test;

namespace {

const char* const kInstallParent = "\\SOFTWARE\\Quenloft\\Install";

class BadEnding : public SequenceTest {
protected:
  void SetUp() override {
    SequenceTest::SetUp();
    LogEvents();
  }
  void FailInThePass(std::function<void()> Failure) {
    FInstall->SetOnBeforeInstallObjects([Failure](TInstallContainer*) {
      SequenceLog().push_back("BeforeInstallObjects");
      Failure();
    });
  }
};

TEST_F(BadEnding, OutsideAnInstallationTheErrorIsShownAndTheProgramGoesOn) {
  FApp->OnException(FInstall, IEInstall("Something failed"));
  EXPECT_EQ(SequenceLog(), (TLines{"shown Something failed"}));
  EXPECT_FALSE(FApp->Terminated());
  EXPECT_EQ(FApp->ExitCode(), 0);
}

TEST_F(BadEnding, AUserAbortEndsWithoutAnErrorAndRemovesTheRecord) {
  FailInThePass([] { throw EQXUserAbort(); });
  Load({"-sC:\\Dist", "-c"});
  Run();
  EXPECT_EQ(LogFrom("BeforeInstallObjects"),
            (TLines{"BeforeInstallObjects", "AfterInstallObjects Install1", "BeforeNotifyBadInstall", "icBadInstall",
                    "icAfterBadInstallNotice", "AfterNotifyBadInstall", "BeforeCleanup", "BeforeShutdown"}));
  EXPECT_TRUE(FApp->Shown.empty());
  EXPECT_TRUE(FApp->Terminated());
  EXPECT_EQ(FApp->ExitCode(), kExitUserAbort);
  EXPECT_FALSE(KeyExists(kInstallParent));
  EXPECT_TRUE(FInstall->Ended());
  EXPECT_FALSE(FInstall->Running());
}

TEST_F(BadEnding, AUserAbortWithoutRunAutomaticLeavesTheProgramRunning) {
  FInstall->SetRunAutomatic(false);
  FailInThePass([] { throw EQXUserAbort(); });
  Load({"-sC:\\Dist"});
  Run();
  EXPECT_EQ(SequenceLog().back(), "AfterNotifyBadInstall");
  EXPECT_FALSE(FApp->Terminated());
  EXPECT_EQ(FApp->ExitCode(), kExitUserAbort);
}

TEST_F(BadEnding, AnErrorIsShownOnceAfterTheBadNoticesAndKeepsTheRecord) {
  FInstall->SetRunAutomatic(false);
  FailInThePass([] { throw IEInstall("The disk is full"); });
  Load({"-sC:\\Dist", "-c"});
  Run();
  EXPECT_EQ(LogFrom("BeforeInstallObjects"),
            (TLines{"BeforeInstallObjects", "AfterInstallObjects Install1", "BeforeNotifyBadInstall", "icBadInstall",
                    "icAfterBadInstallNotice", "AfterNotifyBadInstall", "shown The disk is full", "BeforeShutdown"}));
  EXPECT_TRUE(FApp->Terminated()); // shut down whatever RunAutomatic is
  EXPECT_EQ(FApp->ExitCode(), kExitFailed);
  EXPECT_TRUE(KeyExists(InstallSession().InstallRecordKey));
  EXPECT_TRUE(FInstall->Ended());
}

TEST_F(BadEnding, AFailureInsideTheBadEndingIsSwallowed) {
  FInstall->OnBeforeNotifyBadInstall = [](TObject*) { throw IEInstall("The dialog failed"); };
  FailInThePass([] { throw EQXUserAbort(); });
  Load({"-sC:\\Dist"});
  Run();
  EXPECT_TRUE(FApp->Shown.empty());
  EXPECT_TRUE(FApp->Terminated());
  EXPECT_EQ(FApp->ExitCode(), kExitUserAbort);
  EXPECT_TRUE(KeyExists(InstallSession().InstallRecordKey)); // the removal was not reached
}

TEST_F(BadEnding, AFailingBadEndingDialogIsSwallowedAndTheErrorStillShown) {
  FInstall->SetRunAutomatic(false);
  FInstall->OnAfterNotifyBadInstall = [](TObject*) { throw IEInstall("The dialog failed"); };
  FailInThePass([] { throw IEInstall("The disk is full"); });
  Load({"-sC:\\Dist"});
  Run();
  EXPECT_EQ(LogFrom("icAfterBadInstallNotice"),
            (TLines{"icAfterBadInstallNotice", "shown The disk is full", "BeforeShutdown"}));
  EXPECT_TRUE(FApp->Terminated());
  EXPECT_EQ(FApp->ExitCode(), kExitFailed);
}

TEST_F(BadEnding, AfterTheEndingFurtherErrorsAreOnlyShown) {
  FailInThePass([] { throw IEInstall("The disk is full"); });
  Load({"-sC:\\Dist"});
  Run();
  SequenceLog().clear();
  FApp->OnException(FRecorder, IEInstall("The dialog failed"));
  EXPECT_EQ(SequenceLog(), (TLines{"shown The dialog failed"}));
}

TEST_F(BadEnding, TheUserIsAskedBeforeAnAbort) {
  EXPECT_TRUE(FInstall->QueryUserAbort());
  bool startedTrue = false;
  FInstall->OnUserAbort = [&](TCustomInstall*, bool& QuitOut) {
    startedTrue = QuitOut;
    QuitOut = false;
  };
  EXPECT_FALSE(FInstall->QueryUserAbort());
  EXPECT_TRUE(startedTrue);
}

// The clean-up of the temporary setup directory the loading program made.
class Cleanup : public SequenceTest {
protected:
  void SetUp() override {
    SequenceTest::SetUp();
    FProgramDir = ExtractFileDir(GetModuleName());
  }
  void TearDown() override {
    for (const std::string& file : FMade) TryDeleteFile(file);
    SequenceTest::TearDown();
  }
  // A file beside the running program, removed again after the test.
  std::string MakeBesideProgram(const std::string& Name) {
    std::string path = FProgramDir + "\\" + Name;
    WriteMachineFile(path, "presetup");
    FMade.push_back(path);
    return path;
  }
  // Makes the program's directory one of the temporary files, as the loading program's is.
  void TemporaryDirectoryAboveProgram() {
    SetString(TRootKey::rkCurrentUser, "Environment", "TEMP", ExtractFileDir(FProgramDir));
  }

  std::string FProgramDir;
  std::vector<std::string> FMade;
};

TEST_F(Cleanup, OnlyALoadingProgramWithCleanupAndWithoutDebugCleansUp) {
  TemporaryDirectoryAboveProgram();
  std::string presetup = MakeBesideProgram("presetup-only.txt");
  FInstall->PresetupFiles()->Add("presetup-only.txt");
  for (std::vector<std::string> args : {std::vector<std::string>{"-sC:\\Dist"}, {"-d", "-sC:\\Dist", "-c"}}) {
    Load(args);
    FInstall->Cleanup();
    EXPECT_FALSE(FInstall->CleanupBatchWritten());
    EXPECT_TRUE(FileExists(presetup));
  }
  Load({"-sC:\\Dist", "-c"});
  FInstall->SetUseLoadingProgram(false);
  FInstall->Cleanup();
  EXPECT_FALSE(FInstall->CleanupBatchWritten());
  EXPECT_TRUE(FileExists(presetup));

  FInstall->SetUseLoadingProgram(true);
  FInstall->Cleanup();
  EXPECT_TRUE(FInstall->CleanupBatchWritten());
  EXPECT_FALSE(FileExists(presetup));
}

TEST_F(Cleanup, TheBatchRemovesTheProgramItsDirectoryAndItself) {
  TemporaryDirectoryAboveProgram();
  Load({"-sC:\\Dist", "-c"});
  FInstall->Cleanup();
  ASSERT_TRUE(FInstall->CleanupBatchWritten());
  std::string batch = FInstall->CleanupBatchFile();
  EXPECT_TRUE(SameText(ExtractFileDir(batch), GetTempDir())) << batch;
  EXPECT_TRUE(StartsText("bat", ExtractFileName(batch))) << batch;
  EXPECT_EQ(ExtractFileExt(batch), ".bat");
  EXPECT_FALSE(FileExists(ChangeFileExt(batch, ".tmp"))); // only the name was used
  // Quoted, so that a path with blanks (a run of them too) reads as the one path it is.
  EXPECT_EQ(ReadMachineFile(batch), "ERASE \"" + GetModuleName() + "\"\r\nDELTREE /Y \"" + FProgramDir +
                                        "\"\r\nERASE \"" + ChangeFileExt(batch, ".PIF") + "\"\r\nERASE \"" + batch +
                                        "\"\r\n");
}

TEST_F(Cleanup, TheProjectMayStopTheCleanup) {
  TemporaryDirectoryAboveProgram();
  std::string presetup = MakeBesideProgram("presetup-stop.txt");
  FInstall->PresetupFiles()->Add("presetup-stop.txt");
  FInstall->OnBeforeCleanup = [](TCustomInstall*, bool& Continue) { Continue = false; };
  Load({"-sC:\\Dist", "-c"});
  FInstall->Cleanup();
  EXPECT_FALSE(FInstall->CleanupBatchWritten());
  EXPECT_TRUE(FileExists(presetup));
}

TEST_F(Cleanup, PresetupFilesGoFromTheProgramsDirectoryByTheirNames) {
  std::string first = MakeBesideProgram("presetup-a.txt");
  std::string second = MakeBesideProgram("presetup-b.txt");
  std::string elsewhere = "C:\\Elsewhere\\presetup-b.txt";
  WriteMachineFile(elsewhere, "kept");
  FInstall->PresetupFiles()->Add("presetup-a.txt");
  FInstall->PresetupFiles()->Add(elsewhere);
  FInstall->PresetupFiles()->Add("presetup-missing.txt");
  Load({"-sC:\\Dist", "-c"});
  FInstall->Cleanup();
  EXPECT_FALSE(FileExists(first));
  EXPECT_FALSE(FileExists(second));
  EXPECT_TRUE(FileExists(elsewhere));
}

TEST_F(Cleanup, ADirectoryOutsideTheTemporaryFilesIsNeverRemoved) {
  // The program's directory (the build's) is not among the temporary files.
  ASSERT_FALSE(StartsText(AddBackSlash(GetTempDir()), FProgramDir));
  std::string presetup = MakeBesideProgram("presetup-outside.txt");
  FInstall->PresetupFiles()->Add("presetup-outside.txt");
  Load({"-sC:\\Dist", "-c"});
  FInstall->Cleanup();
  EXPECT_FALSE(FileExists(presetup));
  EXPECT_FALSE(FInstall->CleanupBatchWritten());
  EXPECT_TRUE(FInstall->CleanupBatchFile().empty());
}

// The removal of the install record and what it lists.
class RecordRemoval : public SequenceTest {
protected:
  void SetUp() override {
    SequenceTest::SetUp();
    Load({"-sC:\\Dist"});
    FRecord = InstallSession().InstallRecordKey = FInstall->FindInstallRecord(true);
    ASSERT_FALSE(FRecord.empty());
  }
  std::string FRecord;
};

TEST_F(RecordRemoval, DownloadsTheRecordAndTheEmptyParentsGo) {
  WriteMachineFile("C:\\Downloads\\net1.1", "archive");
  WriteMachineFile("C:\\Downloads\\kept.1", "archive");
  SetString(TRootKey::rkLocalMachine, FRecord + "\\NetDir1", "LocalFile", " C:\\Downloads\\net1.1 ");
  SetString(TRootKey::rkLocalMachine, FRecord + "\\NetDir1\\Deeper", "LocalFile", "C:\\Downloads\\kept.1");
  SetString(TRootKey::rkLocalMachine, FRecord + "\\NetDir2", "LocalFile", "   ");
  SetString(TRootKey::rkLocalMachine, FRecord + "\\NetDir3", "LocalFile", "C:\\Downloads\\gone-already.1");
  SetString(TRootKey::rkLocalMachine, FRecord + "\\Unfinished", "C:\\a.bat", "1");
  FInstall->RemoveDownloadsAndRecord();
  EXPECT_FALSE(FileExists("C:\\Downloads\\net1.1"));
  EXPECT_TRUE(FileExists("C:\\Downloads\\kept.1")); // only a subkey's own value names a download
  EXPECT_FALSE(KeyExists(FRecord));
  EXPECT_FALSE(KeyExists(kInstallParent));
  EXPECT_FALSE(KeyExists("\\Software\\Quenloft"));
}

TEST_F(RecordRemoval, ParentsWithOtherKeysStay) {
  SetString(TRootKey::rkLocalMachine, "\\SOFTWARE\\Quenloft\\Install\\Install7", "Path", "C:\\Other\\setup.exe");
  FInstall->RemoveDownloadsAndRecord();
  EXPECT_FALSE(KeyExists(FRecord));
  EXPECT_TRUE(KeyExists("\\SOFTWARE\\Quenloft\\Install\\Install7"));

  TRegKey::Delete(TRootKey::rkLocalMachine, "\\SOFTWARE\\Quenloft\\Install\\Install7");
  SetString(TRootKey::rkLocalMachine, "\\Software\\Quenloft\\Settings", "Theme", "1");
  FInstall->RemoveDownloadsAndRecord();
  EXPECT_FALSE(KeyExists(kInstallParent));
  EXPECT_TRUE(KeyExists("\\Software\\Quenloft\\Settings"));
}

TEST_F(RecordRemoval, WithoutARecordNothingIsRemoved) {
  InstallSession().InstallRecordKey.clear();
  FInstall->RemoveDownloadsAndRecord();
  EXPECT_TRUE(KeyExists(FRecord));
}

} // namespace
