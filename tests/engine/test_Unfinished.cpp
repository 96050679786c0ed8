// Work left for the next start of Windows: the unfinished list, the RunOnce continuation,
// the restart at the end of the first run and the continuation after it.
#include "tests/engine/SequenceTestSupport.h"

#include <algorithm>
#include <cstdlib>

#include "common/routines_API.h"
#include "common/routines_Strings.h"
#include "engine/InstallSession.h"
#include "platform/files/Files.h"
#include "platform/process/Restart.h"
#include "platform/system/SystemInfo.h"
#include "settings/routines_Registry.h"
#include "translate/TTranslator.h"

using namespace qnl;
using namespace qnl::test;

namespace {

const char* const kRunOnce = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char* const kNoRecord = "The TInstall could not either write or read unfinished business from the registry";
const TLines kGoodEnding{"BeforeNotifyGoodInstall", "icGoodInstall", "icAfterGoodInstallNotice",
                         "AfterNotifyGoodInstall", "BeforeShutdown"};

std::string RunOnceValue(const std::string& Name) {
  std::optional<TRegKey> key = TRegKey::Open(TRootKey::rkLocalMachine, kRunOnce);
  return key ? key->ReadString(Name).value_or("(none)") : "(no key)";
}

// Marks a file immutable (chattr +i) while it lives; Held() is false where that is not permitted.
class TImmutableFile {
public:
  explicit TImmutableFile(std::string Path) : FPath(std::move(Path)) {
    FHeld = std::system(("chattr +i '" + FPath + "' 2>/dev/null").c_str()) == 0;
  }
  ~TImmutableFile() {
    if (FHeld) std::system(("chattr -i '" + FPath + "'").c_str());
  }
  bool Held() const { return FHeld; }

private:
  std::string FPath;
  bool FHeld;
};

// A machine with this program's install record.
class Unfinished : public SequenceTest {
protected:
  void SetUp() override {
    SequenceTest::SetUp();
    FRecord = InstallSession().InstallRecordKey = FInstall->FindInstallRecord(true);
    ASSERT_FALSE(FRecord.empty());
  }
  TLines Read() {
    TStringList list;
    list.Add("left over");
    FInstall->ReadUnfinished(&list);
    TLines items;
    for (int i = 0; i < list.Count(); ++i) items.push_back(list.Get(i));
    return items;
  }
  std::string FRecord;
};

TEST_F(Unfinished, EntriesAreCountedAndKeptInTheRecord) {
  FInstall->AddUnfinished("C:\\windows\\temp\\bat1.bat", 1);
  FInstall->AddUnfinished("ActiveX1", 0);
  EXPECT_EQ(FInstall->UnfinishedCount(), 2);
  std::optional<TRegKey> key = TRegKey::Open(TRootKey::rkLocalMachine, FRecord + "\\Unfinished");
  ASSERT_TRUE(key);
  EXPECT_EQ(key->ReadString("ActiveX1"), std::optional<std::string>("0"));
  TLines items = Read();
  std::sort(items.begin(), items.end());
  EXPECT_EQ(items, (TLines{"ActiveX1;0", "C:\\windows\\temp\\bat1.bat;1"}));
  FInstall->ClearUnfinished();
  EXPECT_FALSE(KeyExists(FRecord + "\\Unfinished"));
  EXPECT_EQ(Read(), TLines{});
  EXPECT_NO_THROW(FInstall->ClearUnfinished());
}

TEST_F(Unfinished, WithoutARecordEveryOperationFails) {
  InstallSession().InstallRecordKey.clear();
  TStringList list;
  QNL_EXPECT_THROW_MESSAGE(FInstall->AddUnfinished("C:\\a.bat", 1), IEInstall, kNoRecord);
  QNL_EXPECT_THROW_MESSAGE(FInstall->ClearUnfinished(), IEInstall, kNoRecord);
  QNL_EXPECT_THROW_MESSAGE(FInstall->ReadUnfinished(&list), IEInstall, kNoRecord);
  EXPECT_EQ(FInstall->UnfinishedCount(), 0);
  FInstall->RefuseRecord = true;
  QNL_EXPECT_THROW_MESSAGE(Load({"-r", "-sC:\\Dist"}), IEInstall, kNoRecord);
}

TEST_F(Unfinished, AHiveThatCannotBeSavedIsNamedWithTheSystemsReason) {
  RegDeleteKeyTree(4, kInstallRecordParent);
  std::string hive = FDir + "/system.reg";
  TImmutableFile immutable(hive);
  if (!immutable.Held()) GTEST_SKIP() << "chattr +i is not permitted here";
  InstallSession().InstallRecordKey = FInstall->FindInstallRecord(true);
  QNL_EXPECT_THROW_MESSAGE(FInstall->ClearUnfinished(), IEInstall,
                           std::string(kNoRecord) + ": Cannot write registry file \"" + hive +
                               "\": Operation not permitted");
}

TEST_F(Unfinished, TheContinuationRunsEveryEntryThenTheGoodEnding) {
  LogEvents();
  WriteMachineFile("C:\\windows\\temp\\bat1.bat", "move");
  WriteMachineFile("C:\\kept.txt", "kept");
  auto* activeX = new TTypedComponent(FOrm.get(), "ActiveX1", 2500);
  bool listGoneMeanwhile = false;
  activeX->OnContinue = [&] { listGoneMeanwhile = !KeyExists(FRecord + "\\Unfinished"); };
  FInstall->AddUnfinished("C:\\windows\\temp\\bat1.bat", 1);
  FInstall->AddUnfinished("ACTIVEX1", 0);
  FInstall->AddUnfinished("Nobody", 0);
  FInstall->AddUnfinished("Install1", 0); // the install component does not start over
  FInstall->AddUnfinished("C:\\kept.txt", 7);
  Load({"-r", "-sC:\\Dist"});
  EXPECT_FALSE(FileExists("C:\\windows\\temp\\bat1.bat"));
  EXPECT_TRUE(FileExists("C:\\kept.txt"));
  EXPECT_EQ(activeX->Continued, 1);
  EXPECT_TRUE(listGoneMeanwhile);
  TLines expected{"Continue ActiveX1"};
  expected.insert(expected.end(), kGoodEnding.begin(), kGoodEnding.end());
  EXPECT_EQ(SequenceLog(), expected);
  EXPECT_FALSE(KeyExists(FRecord));
  EXPECT_FALSE(FInstall->Running());
  EXPECT_TRUE(FApp->Terminated());
  EXPECT_EQ(FApp->ExitCode(), kExitInstalled);
}

TEST_F(Unfinished, AnInvalidEntryStopsTheContinuation) {
  LogEvents();
  WriteMachineFile("C:\\first.txt", "1");
  WriteMachineFile("C:\\third.txt", "3");
  FInstall->AddUnfinished("C:\\first.txt", 1);
  SetString(TRootKey::rkLocalMachine, FRecord + "\\Unfinished", "C:\\second.txt", "one");
  FInstall->AddUnfinished("C:\\third.txt", 1);
  QNL_EXPECT_THROW_MESSAGE(Load({"-r", "-sC:\\Dist"}), IEInstall,
                           "There is an invalid entry for the unfinished install list C:\\second.txt;one");
  EXPECT_FALSE(FileExists("C:\\first.txt"));
  EXPECT_TRUE(FileExists("C:\\third.txt"));
  EXPECT_FALSE(KeyExists(FRecord + "\\Unfinished")); // consumed before it ran
  EXPECT_TRUE(SequenceLog().empty());
}

TEST_F(Unfinished, AnEmptyOrMissingListGoesStraightToTheGoodEnding) {
  LogEvents();
  TRegKey::Create(TRootKey::rkLocalMachine, FRecord + "\\Unfinished");
  Load({"-r", "-sC:\\Dist"});
  EXPECT_EQ(SequenceLog(), kGoodEnding);
  EXPECT_FALSE(KeyExists(FRecord));

  SequenceLog().clear();
  FRecord = InstallSession().InstallRecordKey = FInstall->FindInstallRecord(true);
  Load({"-r", "-sC:\\Dist"});
  EXPECT_EQ(SequenceLog(), kGoodEnding);
}

TEST_F(Unfinished, AnInstallationDropsTheEntriesOfAnInterruptedOne) {
  FInstall->AddUnfinished("C:\\windows\\temp\\bat9.bat", 1);
  bool droppedBeforeTheDialogs = false;
  FRecorder->OnCode = [&](int32_t Code) {
    if (Code == icInstallStart)
      droppedBeforeTheDialogs = !KeyExists(FRecord + "\\Unfinished") && FInstall->UnfinishedCount() == 0;
  };
  Load({"-sC:\\Dist"});
  Run();
  EXPECT_TRUE(droppedBeforeTheDialogs);
  EXPECT_EQ(RunOnceValue("QuenloftUnfinished"), "(none)");
}

TEST_F(Unfinished, ADamagedLanguageLeavesTheCurrentOne) {
  auto* translator = new TTranslator(FOrm.get());
  translator->SetTranslateIntoLanguage(qlFrench);
  TRegKey::Create(TRootKey::rkLocalMachine, FRecord).WriteDWord("Language", 999);
  Load({"-r", "-sC:\\Dist"});
  EXPECT_EQ(translator->TranslateIntoLanguage(), qlFrench);
}

// The RunOnce entry that starts the continuation.
class RunOnce : public Unfinished {};

TEST_F(RunOnce, TheCommandNamesTheLoadingProgramsDirectory) {
  Load({"-sC:\\Dist"});
  FInstall->RegisterRunOnce();
  EXPECT_EQ(RunOnceValue("QuenloftUnfinished"), "\"" + GetModuleName() + "\" -r \"-sC:\\Dist\"");
}

TEST_F(RunOnce, ASelfExtractedRunNamesItsFileAndCleanupComesLast) {
  Load({"-c", "-sC:\\Dist", "-eSetup.exe"});
  FInstall->RegisterRunOnce();
  EXPECT_EQ(RunOnceValue("QuenloftUnfinished"), "\"" + GetModuleName() + "\" -r \"-eSetup.exe\" \"-sC:\\Dist\" -c");
}

TEST_F(RunOnce, CleanupIsPassedOnOnlyWhenGiven) {
  Load({"-sC:\\Dist", "-c"});
  FInstall->RegisterRunOnce();
  EXPECT_EQ(RunOnceValue("QuenloftUnfinished"), "\"" + GetModuleName() + "\" -r \"-sC:\\Dist\" -c");
}

TEST_F(RunOnce, WithoutALoadingProgramThisProgramsDirectoryIsTheSource) {
  FInstall->SetUseLoadingProgram(false);
  Load({"-sC:\\Dist"});
  FInstall->RegisterRunOnce();
  EXPECT_EQ(RunOnceValue("QuenloftUnfinished"),
            "\"" + GetModuleName() + "\" -r \"-s" + ExtractFileDir(GetModuleName()) + "\"");
}

TEST_F(RunOnce, ATakenNameGetsANumber) {
  SetString(TRootKey::rkLocalMachine, kRunOnce, "QuenloftUnfinished", "C:\\other.exe -r");
  Load({"-sC:\\Dist"});
  FInstall->RegisterRunOnce();
  EXPECT_EQ(RunOnceValue("QuenloftUnfinished"), "C:\\other.exe -r");
  EXPECT_EQ(RunOnceValue("QuenloftUnfinished1"), "\"" + GetModuleName() + "\" -r \"-sC:\\Dist\"");
}

TEST_F(RunOnce, ASecondRunBeforeTheRestartRegistersNoSecondContinuation) {
  Load({"-sC:\\Dist"});
  FInstall->RegisterRunOnce();
  FInstall->RegisterRunOnce();
  EXPECT_EQ(RunOnceValue("QuenloftUnfinished"), "\"" + GetModuleName() + "\" -r \"-sC:\\Dist\"");
  EXPECT_EQ(RunOnceValue("QuenloftUnfinished1"), "(none)");
}

TEST_F(RunOnce, AnInstallationRegistersItOnlyWithWorkLeft) {
  Load({"-sC:\\Dist"});
  Run();
  EXPECT_EQ(RunOnceValue("QuenloftUnfinished"), "(none)");

  auto* file = new TTypedComponent(FOrm.get(), "File1", 8700);
  file->OnProcess = [this] { FInstall->AddUnfinished("C:\\windows\\temp\\bat1.bat", 1); };
  Run();
  EXPECT_EQ(FInstall->UnfinishedCount(), 1);
  EXPECT_EQ(RunOnceValue("QuenloftUnfinished"), "\"" + GetModuleName() + "\" -r \"-sC:\\Dist\"");
}

// The end of a first run that needs Windows to restart.
class Restart : public SequenceTest {
protected:
  void SetUp() override {
    SequenceTest::SetUp();
    LogEvents();
    FInstall->OnBeforeReboot = [](TCustomInstall*, bool& Continue) {
      SequenceLog().push_back(std::string("BeforeReboot ") + (Continue ? "continue" : "stop"));
    };
    auto* file = new TTypedComponent(FOrm.get(), "File1", 8700);
    file->OnProcess = [this] { FInstall->SetReboot(true); };
    Load({"-sC:\\Dist"});
  }
};

TEST_F(Restart, TheFirstRunEndsWithTheRestartInsteadOfTheGoodEnding) {
  SetWindowsVersionName("win95");
  Run();
  EXPECT_EQ(LogFrom("AfterInstallObjects Install1"),
            (TLines{"AfterInstallObjects Install1", "icRebootNeeded", "BeforeReboot continue"}));
  EXPECT_TRUE(RestartRequested());
  EXPECT_TRUE(FApp->Terminated());
  EXPECT_EQ(FApp->ExitCode(), kExitRestartNeeded);
  EXPECT_TRUE(KeyExists(InstallSession().InstallRecordKey));
  EXPECT_EQ(RunOnceValue("QuenloftUnfinished"), "\"" + GetModuleName() + "\" -r \"-sC:\\Dist\"");
}

TEST_F(Restart, WindowsNtRestartsToo) {
  SetWindowsVersionName("win10");
  Run();
  EXPECT_TRUE(RestartRequested());
  EXPECT_TRUE(FApp->Boxes.empty());
}

TEST_F(Restart, TheRebootDialogMayDeclineTheRestart) {
  FRecorder->OnCode = [this](int32_t Code) {
    if (Code == icRebootNeeded) FInstall->SetReboot(false);
  };
  Run();
  EXPECT_EQ(LogFrom("AfterInstallObjects Install1"), (TLines{"AfterInstallObjects Install1", "icRebootNeeded"}));
  EXPECT_FALSE(RestartRequested());
  EXPECT_TRUE(FApp->Terminated());
  EXPECT_EQ(FApp->ExitCode(), kExitRestartNeeded);
  EXPECT_NE(RunOnceValue("QuenloftUnfinished"), "(none)");
  EXPECT_TRUE(KeyExists(InstallSession().InstallRecordKey));
}

TEST_F(Restart, TheProjectMayDeclineTheRestart) {
  FInstall->OnBeforeReboot = [](TCustomInstall*, bool& Continue) { Continue = false; };
  Run();
  EXPECT_FALSE(FInstall->Reboot());
  EXPECT_FALSE(RestartRequested());
  EXPECT_TRUE(FApp->Terminated());
  EXPECT_EQ(FApp->ExitCode(), kExitRestartNeeded);
  EXPECT_EQ(LogFrom("icGoodInstall"), TLines{});
}

TEST_F(Restart, AFailedRestartFiresTheEvent) {
  SetWindowsVersionName("win31");
  FInstall->OnFailedReboot = [](TObject*) { SequenceLog().push_back("FailedReboot"); };
  Run();
  EXPECT_EQ(LogFrom("icRebootNeeded"), (TLines{"icRebootNeeded", "BeforeReboot continue", "FailedReboot"}));
  EXPECT_TRUE(FApp->Boxes.empty());
  EXPECT_TRUE(FApp->Terminated());
  EXPECT_EQ(FApp->ExitCode(), kExitRestartNeeded);
}

TEST_F(Restart, AFailedRestartWithoutTheEventTellsTheUser) {
  SetWindowsVersionName("nt351");
  Run();
  EXPECT_EQ(FApp->Boxes, TLines{"Could not reboot windows. Please manually reboot windows."});
  EXPECT_FALSE(RestartRequested());
  EXPECT_TRUE(FApp->Terminated());
}

TEST_F(Restart, TheLanguageIsKeptForTheContinuation) {
  auto* translator = new TTranslator(FOrm.get());
  ASSERT_EQ(ActiveTranslator(), translator);
  translator->SetTranslateIntoLanguage(qlGerman);
  Run();
  std::optional<TRegKey> record = TRegKey::Open(TRootKey::rkLocalMachine, InstallSession().InstallRecordKey);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->ReadDWord("Language"), std::optional<uint32_t>(static_cast<uint32_t>(qlGerman)));

  translator->SetTranslateIntoLanguage(qlFrench);
  Load({"-r", "-sC:\\Dist"});
  EXPECT_EQ(translator->TranslateIntoLanguage(), qlGerman);
  EXPECT_FALSE(KeyExists("\\SOFTWARE\\Quenloft\\Install"));
}

TEST_F(Restart, WithoutATranslatorNoLanguageIsKept) {
  ASSERT_EQ(ActiveTranslator(), nullptr);
  Run();
  std::optional<TRegKey> record = TRegKey::Open(TRootKey::rkLocalMachine, InstallSession().InstallRecordKey);
  ASSERT_TRUE(record);
  EXPECT_FALSE(record->ValueExists("Language"));
}

} // namespace
