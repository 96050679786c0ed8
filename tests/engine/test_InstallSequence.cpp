// The installation sequence of the install component as its receivers and events see it,
// and the objects installed by registered type after the file pass.
#include "tests/engine/SequenceTestSupport.h"

#include <chrono>
#include <thread>

#include "archive/TQnlfCompress.h"
#include "archive/TSelfExtractInfo.h"
#include "engine/InstallSession.h"
#include "engine/TCustomInstallFile.h"
#include "platform/files/FileCreation.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"

using namespace qnl;
using namespace qnl::test;

namespace {

const char* const kInstallParent = "\\SOFTWARE\\Quenloft\\Install";

class InstallSequence : public SequenceTest {
protected:
  void SetUp() override {
    SequenceTest::SetUp();
    LogEvents();
  }
};

TEST_F(InstallSequence, AGoodInstallationRunsEveryStepInOrder) {
  Load({"-sC:\\Dist"});
  Run();
  EXPECT_EQ(SequenceLog(),
            (TLines{"BeforeReadArchiveInfo", "icBeforeReadArchiveInfo",
                    "icPushStatusMessage Reading file information...", "icPopStatusMessage", "AfterReadArchiveInfo",
                    "icAfterReadArchiveInfo", "AfterInitialized", "icInstallStart",
                    // the install component's own pass
                    "icProcessStart", "icIncludedProcessBegins", "icInstallPassBegins", "BeforeInstallObjects",
                    "icOperationEnded", "icProcessEnd", "AfterInstallObjects Install1", "BeforeNotifyGoodInstall",
                    "icGoodInstall", "icAfterGoodInstallNotice", "AfterNotifyGoodInstall", "BeforeShutdown"}));
  EXPECT_TRUE(FApp->Shown.empty());
  EXPECT_TRUE(FApp->Terminated());
  EXPECT_EQ(FApp->ExitCode(), kExitInstalled);
  EXPECT_FALSE(FInstall->Running());
  EXPECT_FALSE(FInstall->Ended());
}

TEST_F(InstallSequence, TheRecordLivesFromBeforeTheDialogsUntilTheGoodEnding) {
  std::string recordDuringDialogs;
  FRecorder->OnCode = [&](int32_t Code) {
    if (Code != icInstallStart) return;
    recordDuringDialogs = InstallSession().InstallRecordKey;
    EXPECT_TRUE(FInstall->Running());
    EXPECT_TRUE(KeyExists(recordDuringDialogs));
  };
  Load({"-sC:\\Dist"});
  Run();
  EXPECT_EQ(recordDuringDialogs, "\\SOFTWARE\\Quenloft\\Install\\Install0");
  EXPECT_FALSE(KeyExists(recordDuringDialogs));
  EXPECT_FALSE(KeyExists(kInstallParent));
  EXPECT_FALSE(KeyExists("\\Software\\Quenloft"));
}

TEST_F(InstallSequence, AnEndingDuringTheDialogsStopsThePass) {
  // A dialog's message loop hands the abort to the application, then the dialog returns.
  FRecorder->OnCode = [&](int32_t Code) {
    if (Code != icInstallStart) return;
    try {
      throw EQXUserAbort();
    } catch (...) {
      FApp->HandleException(FRecorder);
    }
  };
  Load({"-sC:\\Dist"});
  Run();
  EXPECT_EQ(LogFrom("AfterInitialized"),
            (TLines{"AfterInitialized", "icInstallStart", "BeforeNotifyBadInstall", "icBadInstall",
                    "icAfterBadInstallNotice", "AfterNotifyBadInstall", "BeforeShutdown"}));
  EXPECT_TRUE(FApp->Shown.empty());
  EXPECT_EQ(FApp->ExitCode(), kExitUserAbort);
  EXPECT_TRUE(FInstall->Ended());
  EXPECT_FALSE(FInstall->Running());
}

TEST_F(InstallSequence, ALoadingProgramMustPassItsDirectory) {
  Load({});
  Run();
  const std::string message =
      "The path of the loading program was not passed correctly. If you are running your install project in the IDE, "
      "then you need to add two command line parameters. In Run | Parameters | \"Run Parameters\", type in: -d "
      "\"-sBUILDPATH\" where BUILDPATH is the path into which you built the distributables. Example: -d \"-sC:\\My "
      "Build\".";
  EXPECT_EQ(SequenceLog(), (TLines{"BeforeNotifyBadInstall", "icBadInstall", "icAfterBadInstallNotice",
                                   "AfterNotifyBadInstall", "shown " + message, "BeforeShutdown"}));
  EXPECT_EQ(FApp->ExitCode(), kExitFailed);
  EXPECT_FALSE(KeyExists(std::string(kInstallParent) + "\\Install0")); // no record was made
}

TEST_F(InstallSequence, WithoutAnInstallRecordNothingIsInstalled) {
  FInstall->RefuseRecord = true;
  Load({"-sC:\\Dist"});
  Run();
  EXPECT_EQ(SequenceLog(),
            (TLines{"BeforeNotifyBadInstall", "icBadInstall", "icAfterBadInstallNotice", "AfterNotifyBadInstall",
                    "shown The TInstall could not either write or read unfinished business from the registry",
                    "BeforeShutdown"}));
  EXPECT_EQ(FApp->ExitCode(), kExitFailed);
}

TEST_F(InstallSequence, TheEventAfterTheObjectsTellsOfAnArchiveAbort) {
  FInstall->SetOnBeforeInstallObjects([](TInstallContainer*) { QnlfCompress().SetAbort(true); });
  Load({"-sC:\\Dist"});
  Run();
  EXPECT_EQ(LogFrom("AfterInstallObjects Install1 aborted").size(), 6u);
}

TEST_F(InstallSequence, WithoutRunAutomaticTheProgramGoesOnAfterAGoodEnding) {
  FInstall->SetRunAutomatic(false);
  Load({"-sC:\\Dist"});
  Run();
  EXPECT_EQ(SequenceLog().back(), "AfterNotifyGoodInstall");
  EXPECT_FALSE(FApp->Terminated());
  EXPECT_FALSE(FInstall->Running());
}

TEST_F(InstallSequence, TheShutdownHandlerMayKeepTheProgramRunning) {
  FInstall->OnBeforeShutdown = [](TCustomInstall*, bool& QuitOut) { QuitOut = false; };
  Load({"-sC:\\Dist"});
  Run();
  EXPECT_FALSE(FApp->Terminated());
  EXPECT_TRUE(FInstall->Shutdown());
  FInstall->OnBeforeShutdown = nullptr;
  EXPECT_FALSE(FInstall->Shutdown());
  EXPECT_TRUE(FApp->Terminated());
}

TEST_F(InstallSequence, ASelfExtractedSetupReadsItsOffsetFirst) {
  WriteMachineFile("C:\\Dist\\Short.exe", "MZ");
  Load({"-sC:\\Dist", "-eShort.exe"});
  Run();
  EXPECT_EQ(FApp->Shown, TLines{"Could not read the extraction info from the archive file C:\\Dist\\Short.exe when "
                                "trying to find the correct offset into the self extracting file"});
  EXPECT_EQ(LogFrom("icBeforeReadArchiveInfo"), TLines{});

  TSelfExtractInfo info;
  info.Marker = "SELFEXTRACTING";
  info.MainArchiveStart = 4000;
  WriteMachineFile("C:\\Dist\\Setup.exe", std::string(5000, 'M') + info.Encode());
  SequenceLog().clear();
  Load({"-sC:\\Dist", "-eSetup.exe"});
  Run();
  EXPECT_EQ(FInstall->ArchiveOffset(), 4000);
  EXPECT_EQ(SequenceLog().back(), "BeforeShutdown");
}

TEST_F(InstallSequence, TheStatusIsRemovedAlsoWhenReadingFails) {
  // A net distribution reads its remote file list, which needs a net location.
  FInstall->SetComponentStateFlag(csLoading, true);
  FInstall->SetDistributeType(dtWeb);
  Load({"-sC:\\Dist"});
  Run();
  EXPECT_EQ(
      SequenceLog(),
      (TLines{"BeforeReadArchiveInfo", "icBeforeReadArchiveInfo", "icPushStatusMessage Reading file information...",
              "icPopStatusMessage", "BeforeNotifyBadInstall", "icBadInstall", "icAfterBadInstallNotice",
              "AfterNotifyBadInstall", "shown Could not find a net install location for Install1", "BeforeShutdown"}));
}

// The files started at the end of a good installation.
class FilesToRun : public SequenceTest {
protected:
  // An installed file whose program writes Marker when it runs.
  TCustomInstallFile* AddProgram(const std::string& Name, const std::string& Dir, const std::string& FileName,
                                 const std::string& Marker) {
    auto* file = new TCustomInstallFile(FOrm.get());
    file->SetName(Name);
    file->SetDestDirType(nullptr);
    file->SetDestDir(Dir);
    file->SetDestName(FileName);
    file->SetRunAfterInstall(true);
    WriteMachineFile(file->GetDestPath(), "#!/bin/sh\necho ran > '" + UnixPathOf(Marker) + "'\n");
    SetExecutable(file->GetDestPath());
    return file;
  }
  // The program that writes Marker runs detached: wait a little for it.
  static bool Appears(const std::string& Marker) {
    for (int i = 0; i < 300 && !FileExists(Marker); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return FileExists(Marker);
  }
};

TEST_F(FilesToRun, TheProjectMaySkipAFileAndTheOthersStart) {
  LogEvents();
  AddProgram("First", "C:\\Program Files\\Tool", "first run.sh", "C:\\ran-first.txt");
  AddProgram("Second", "C:\\Tool", "second.sh", "C:\\ran-second.txt");
  AddProgram("Third", "C:\\Tool", "third.sh", "C:\\ran-third.txt")->SetRunAfterInstall(false);
  FInstall->OnBeforeRunFile = [](TCustomInstall*, TCustomInstallFile* File, bool& DefaultAction) {
    SequenceLog().push_back("BeforeRunFile " + File->Name());
    DefaultAction = File->Name() != "Second";
  };
  FInstall->OnBeforeShutdown = [](TCustomInstall*, bool& QuitOut) {
    SequenceLog().push_back("BeforeShutdown");
    QuitOut = false;
  };
  Load({"-sC:\\Dist"});
  Run();
  EXPECT_EQ(LogFrom("BeforeShutdown"), (TLines{"BeforeShutdown", "BeforeRunFile First", "BeforeRunFile Second"}));
  EXPECT_TRUE(Appears("C:\\ran-first.txt")); // a path with blanks names one program
  EXPECT_FALSE(FileExists("C:\\ran-second.txt"));
  EXPECT_FALSE(FileExists("C:\\ran-third.txt"));
  EXPECT_FALSE(FApp->Terminated());
}

// Objects of the registered types installed after the file pass.
class ObjectsByType : public SequenceTest {
protected:
  TTypedComponent* Add(const std::string& Name, int32_t Type) {
    auto* component = new TTypedComponent(FOrm.get(), Name, Type);
    component->SetContainer(FInstall);
    return component;
  }
};

TEST_F(ObjectsByType, EachTypeRunsInItsTurnUnderItsStatusText) {
  Add("Links", 8000);
  Add("Groups", 7000);
  Add("Last", 8700);
  Add("Odbc", 2750);
  Load({"-sC:\\Dist"});
  Run();
  EXPECT_EQ(LogFrom("icProcessEnd"),
            (TLines{"icProcessEnd", "icPushStatusMessage Installing ODBC drivers...", "Process Odbc",
                    "icPopStatusMessage", "icPushStatusMessage Installing shell links...", "Process Groups",
                    "icPopStatusMessage", "icPushStatusMessage Installing shell links...", "Process Links",
                    "icPopStatusMessage", "Process Last", "icGoodInstall", "icAfterGoodInstallNotice"}));
}

TEST_F(ObjectsByType, EveryTypeHasItsPlaceAndText) {
  for (auto [name, type] : {std::pair{"Keys", 8500}, {"Ini", 4000}, {"Aliases", 3000}, {"Sources", 2875}})
    Add(name, type);
  Load({"-sC:\\Dist"});
  Run();
  EXPECT_EQ(LogFrom("icProcessEnd"),
            (TLines{"icProcessEnd", "icPushStatusMessage Installing ODBC sources...", "Process Sources",
                    "icPopStatusMessage", "icPushStatusMessage Installing Borland Database Engine aliases...",
                    "Process Aliases", "icPopStatusMessage", "icPushStatusMessage Installing INI files...",
                    "Process Ini", "icPopStatusMessage", "icPushStatusMessage Installing registry keys...",
                    "Process Keys", "icPopStatusMessage", "icGoodInstall", "icAfterGoodInstallNotice"}));
}

TEST_F(ObjectsByType, ComponentsOfOneTypeShareOneStatusInCreationOrder) {
  Add("IniB", 4000);
  Add("IniA", 4000);
  Add("Keys", 8500);
  FInstall->InstallObjectsOfType(4000, "Installing INI files...");
  EXPECT_EQ(SequenceLog(), (TLines{"icPushStatusMessage Installing INI files...", "Process IniB", "Process IniA",
                                   "icPopStatusMessage"}));
  SequenceLog().clear();
  FInstall->InstallObjectsOfType(8500, "   ");
  FInstall->InstallObjectsOfType(2750, "Installing ODBC drivers...");
  EXPECT_EQ(SequenceLog(), (TLines{"Process Keys"}));
}

TEST_F(ObjectsByType, AFailureStillRemovesTheStatus) {
  Add("Links", 8000)->OnProcess = [] { throw IEInstall("The link failed"); };
  EXPECT_THROW(FInstall->InstallObjectsOfType(8000, "Installing shell links..."), IEInstall);
  EXPECT_EQ(SequenceLog(),
            (TLines{"icPushStatusMessage Installing shell links...", "Process Links", "icPopStatusMessage"}));
}

TEST_F(ObjectsByType, AComponentFreedMeanwhileIsSkipped) {
  TTypedComponent* second = nullptr;
  Add("First", 7000)->OnProcess = [&] { delete second; };
  second = Add("Second", 7000);
  FInstall->InstallObjectsOfType(7000, "Installing shell links...");
  EXPECT_EQ(SequenceLog(),
            (TLines{"icPushStatusMessage Installing shell links...", "Process First", "icPopStatusMessage"}));
}

TEST_F(ObjectsByType, AFailingObjectEndsTheInstallationBadly) {
  LogEvents();
  Add("Links", 8000)->OnProcess = [] { throw IEInstall("The link failed"); };
  Add("Keys", 8500);
  Load({"-sC:\\Dist"});
  Run();
  EXPECT_EQ(LogFrom("icProcessEnd"),
            (TLines{"icProcessEnd", "icPushStatusMessage Installing shell links...", "Process Links",
                    "icPopStatusMessage", "AfterInstallObjects Install1", "BeforeNotifyBadInstall", "icBadInstall",
                    "icAfterBadInstallNotice", "AfterNotifyBadInstall", "shown The link failed", "BeforeShutdown"}));
  EXPECT_EQ(FApp->ExitCode(), kExitFailed);
  EXPECT_TRUE(KeyExists(InstallSession().InstallRecordKey));
}

} // namespace
