// Helpers of the installation sequence tests.
#include "tests/engine/SequenceTestSupport.h"

#include <algorithm>
#include <map>

#include "archive/TQnlfCompress.h"
#include "common/routines_Strings.h"
#include "engine/InstallParameters.h"
#include "engine/InstallSession.h"
#include "engine/TInstallContainer.h"
#include "platform/files/FileStream.h"
#include "platform/files/Files.h"
#include "rtl/ProgramArguments.h"

namespace qnl::test {

std::vector<std::string>& SequenceLog() {
  static std::vector<std::string> log;
  return log;
}

TKeepingApplication::TKeepingApplication() {
  MessageBoxHook = [this](const std::string& Text, const std::string&, int) {
    Boxes.push_back(Text);
    SequenceLog().push_back("box " + Text);
    return 1;
  };
}

void TKeepingApplication::ShowException(const std::exception& E) {
  Shown.push_back(E.what());
  SequenceLog().push_back("shown " + std::string(E.what()));
}

QNL_BEGIN_CLASS(TCodeRecorder);
QNL_END_CLASS

TCodeRecorder::TCodeRecorder(TComponent* AOwner) : TInstallObject(AOwner) { SetName("Recorder"); }

namespace {

// The name of a code of the downward path, so that a log that differs reads as the sequence
// it is; a code without a name stays a number.
std::string CodeName(int32_t Code) {
  static const std::map<int32_t, const char*> kNames = {
      {icPopStatusMessage, "icPopStatusMessage"},
      {icPushStatusMessage, "icPushStatusMessage"},
      {icAfterBadInstallNotice, "icAfterBadInstallNotice"},
      {icAfterGoodInstallNotice, "icAfterGoodInstallNotice"},
      {icInstallStart, "icInstallStart"},
      {icAfterReadArchiveInfo, "icAfterReadArchiveInfo"},
      {icBeforeReadArchiveInfo, "icBeforeReadArchiveInfo"},
      {icRebootNeeded, "icRebootNeeded"},
      {icDownloadProgress, "icDownloadProgress"},
      {icProcessEnd, "icProcessEnd"},
      {icProcessStart, "icProcessStart"},
      {icBeforeCreateShortcuts, "icBeforeCreateShortcuts"},
      {icInstallPassBegins, "icInstallPassBegins"},
      {icNewDiskNeeded, "icNewDiskNeeded"},
      {icBadInstall, "icBadInstall"},
      {icGoodInstall, "icGoodInstall"},
      {icOperationEnded, "icOperationEnded"},
      {icReplacingFileInUse, "icReplacingFileInUse"},
      {icProgress, "icProgress"},
      {icIncludedProcessBegins, "icIncludedProcessBegins"},
  };
  auto it = kNames.find(Code);
  return it != kNames.end() ? it->second : std::to_string(Code);
}

} // namespace

void TCodeRecorder::InformationEvent(TObject*, int32_t Code, TObject* PO) {
  std::string entry = CodeName(Code);
  if (auto* message = dynamic_cast<TMessageParameter*>(PO)) entry += " " + message->Text;
  SequenceLog().push_back(entry);
  if (OnCode) OnCode(Code);
}

QNL_BEGIN_CLASS(TTypedComponent);
QNL_END_CLASS

TTypedComponent::TTypedComponent(TComponent* AOwner, const std::string& AName, int32_t AType)
    : TInstallObject(AOwner), FType(AType) {
  SetName(AName);
}

void TTypedComponent::Process() {
  SequenceLog().push_back("Process " + Name());
  if (OnProcess) OnProcess();
  inherited::Process();
}

void TTypedComponent::ContinueAfterReboot() {
  ++Continued;
  SequenceLog().push_back("Continue " + Name());
  if (OnContinue) OnContinue();
}

void SequenceTest::SetUp() {
  TMachineTest::SetUp();
  SequenceLog().clear();
  QnlfCompress().SetAbort(false);
  FApp = std::make_unique<TKeepingApplication>();
  SetApplication(FApp.get());
  SetProgramArguments(std::vector<std::string>{});
  FOrm = std::make_unique<TCustomForm>(nullptr);
  FInstall = new TSequenceInstall(FOrm.get());
  FInstall->SetName("Install1");
  FRecorder = new TCodeRecorder(FOrm.get());
  FRecorder->SetContainer(FInstall);
}

void SequenceTest::TearDown() {
  // A written clean-up batch would remove the program's directory once the install
  // component is gone: the tests only read it.
  if (FInstall && FInstall->CleanupBatchWritten() && FileExists(FInstall->CleanupBatchFile()))
    DeleteFile(FInstall->CleanupBatchFile());
  FOrm.reset();
  SetApplication(nullptr);
  FApp.reset();
  SetProgramArguments(std::vector<std::string>{});
  InstallSession().Reset();
  QnlfCompress().SetAbort(false);
  TMachineTest::TearDown();
}

void SequenceTest::Load(std::vector<std::string> Args) {
  SetProgramArguments(std::move(Args));
  FInstall->SetComponentStateFlag(csLoading, true);
  FInstall->Loaded();
}

void SequenceTest::Run() {
  try {
    FInstall->Process();
  } catch (...) {
    FApp->HandleException(FInstall);
  }
}

void SequenceTest::LogEvents() {
  auto note = [](const char* Text) { return [Text](TObject*) { SequenceLog().push_back(Text); }; };
  FInstall->OnBeforeReadArchiveInfo = note("BeforeReadArchiveInfo");
  FInstall->OnAfterReadArchiveInfo = note("AfterReadArchiveInfo");
  FInstall->OnAfterInitialized = note("AfterInitialized");
  FInstall->OnBeforeNotifyGoodInstall = note("BeforeNotifyGoodInstall");
  FInstall->OnAfterNotifyGoodInstall = note("AfterNotifyGoodInstall");
  FInstall->OnBeforeNotifyBadInstall = note("BeforeNotifyBadInstall");
  FInstall->OnAfterNotifyBadInstall = note("AfterNotifyBadInstall");
  FInstall->SetOnBeforeInstallObjects([](TInstallContainer*) { SequenceLog().push_back("BeforeInstallObjects"); });
  FInstall->SetOnAfterInstallObjects([](TInstallContainer* Container, bool WasAborted) {
    SequenceLog().push_back("AfterInstallObjects " + Container->Name() + (WasAborted ? " aborted" : ""));
  });
  FInstall->OnBeforeCleanup = [](TCustomInstall*, bool&) { SequenceLog().push_back("BeforeCleanup"); };
  FInstall->OnBeforeShutdown = [](TCustomInstall*, bool&) { SequenceLog().push_back("BeforeShutdown"); };
}

bool SequenceTest::KeyExists(const std::string& Key) { return TRegKey::Exists(TRootKey::rkLocalMachine, Key); }

std::vector<std::string> SequenceTest::LogFrom(const std::string& From) {
  const std::vector<std::string>& log = SequenceLog();
  auto start = std::find(log.begin(), log.end(), From);
  return std::vector<std::string>(start, log.end());
}

} // namespace qnl::test
