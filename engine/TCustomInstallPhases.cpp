// The installation sequence of the install component: from the first activation to the good
// ending or the restart, with the reading of the archive information.
#include "archive/TQnlfCompress.h"
#include "common/routines_API.h"
#include "engine/DeferredRegistrations.h"
#include "engine/InstallPasses.h"
#include "engine/InstallSession.h"
#include "engine/NetDownload.h"
#include "engine/RemoteFileList.h"
#include "engine/TCustomInstall.h"
#include "engine/TCustomInstallFile.h"
#include "engine/TFileContainer.h"
#include "platform/files/Files.h"
#include "platform/process/Process.h"

namespace qnl {

namespace {

// The objects installed by type after the file pass, with their status texts.
struct TTypeStep {
  int32_t TypeCode;
  const char* StatusText;
};
constexpr TTypeStep kTypeSteps[] = {
    {2750, "Installing ODBC drivers..."},
    {2875, "Installing ODBC sources..."},
    {3000, "Installing Borland Database Engine aliases..."},
    {7000, "Installing shell links..."},
    {8000, "Installing shell links..."},
    {4000, "Installing INI files..."},
    {8500, "Installing registry keys..."},
    {8700, ""},
};

constexpr const char* kRemoteFileList = "filelist.lst";

} // namespace

void TCustomInstall::SetRunning(bool Value) {
  FRunning = Value;
  // Objects wait for their containers only while an installation runs.
  InstallSession().RunState.RunActive = Value;
}

void TCustomInstall::Process() {
  FEnded = false;
  InstallSession().StartTime = Now();
  InstallSession().DeferRegistrationFailures = true;
  InstallSession().FailedRegistrations.Clear();
  FUnfinishedCount = 0;
  FCleanupBatchWritten = false;
  SetRunning(true);

  if (FUseLoadingProgram && !HasSwitch(swSourcePath))
    throw IEInstall(
        "The path of the loading program was not passed correctly. If you are running your install project in the "
        "IDE, then you need to add two command line parameters. In Run | Parameters | \"Run Parameters\", type in: "
        "-d \"-sBUILDPATH\" where BUILDPATH is the path into which you built the distributables. Example: -d "
        "\"-sC:\\My Build\".");
  InstallSession().InstallRecordKey = FindInstallRecord(true);
  ClearUnfinished();
  if (HasSwitch(swSelfExtractor)) ReadSelfExtractOffset();
  ReadInfoFromArchive();
  if (OnAfterInitialized) OnAfterInitialized(this);
  Notify(icInstallStart);
  if (FEnded) return;

  try {
    TFileContainer::Process();
    RetryDeferredRegistrations();
    for (const TTypeStep& step : kTypeSteps) InstallObjectsOfType(step.TypeCode, step.StatusText);
  } catch (...) {
    InstallSession().DeferRegistrationFailures = false;
    if (OnAfterInstallObjects()) OnAfterInstallObjects()(this, QnlfCompress().Abort());
    throw;
  }
  if (OnAfterInstallObjects()) OnAfterInstallObjects()(this, QnlfCompress().Abort());

  if (FUnfinishedCount > 0 || FReboot) RegisterRunOnce();
  bool rebootNeeded = FReboot;
  if (FReboot) {
    StoreLanguage();
    Notify(icRebootNeeded);
    if (FReboot && OnBeforeReboot) OnBeforeReboot(this, FReboot);
    if (FReboot) RestartAfterInstall();
  }
  if (rebootNeeded) {
    // The good ending, the clean-up and the files to run belong to the continuation after
    // the restart, also when the user declined the restart.
    Application().SetExitCode(kExitRestartNeeded);
    Application().Terminate();
    return;
  }
  GoodEnding();
}

void TCustomInstall::GoodEnding() {
  NotifyGoodInstall();
  Cleanup();
  RemoveDownloadsAndRecord();
  if (FRunAutomatic) Shutdown();
  RunFilesAfterInstall();
  SetRunning(false);
}

void TCustomInstall::ReadInfoFromArchive() {
  if (InfoRead()) return;
  if (OnBeforeReadArchiveInfo) OnBeforeReadArchiveInfo(this);
  Notify(icBeforeReadArchiveInfo);
  PushStatusMessage(TranslateMessage("Reading file information..."));
  try {
    TFileContainer::ReadInfoFromArchive();
    if (FDistributeType != dtTraditional) {
      std::string list = GetTempFile(TTempFileKeep::tkDelete);
      try {
        if (!NetLocation()) throw Exception("Could not find a net install location for " + Name());
        DownloadInto(AsNetLocation(NetLocation()), kRemoteFileList, list);
        ReadRemoteFileList(list);
      } catch (...) {
        TryDeleteFile(list);
        throw;
      }
      TryDeleteFile(list);
    }
  } catch (...) {
    PopStatusMessage();
    throw;
  }
  PopStatusMessage();
  SetInfoRead(true);
  if (OnAfterReadArchiveInfo) OnAfterReadArchiveInfo(this);
  Notify(icAfterReadArchiveInfo);
}

void TCustomInstall::InstallObjectsOfType(int32_t TypeCode, const std::string& StatusText) {
  bool statusShown = false;
  // The file containers of one type are installed one after the other: the archive component
  // writes the files of the next ones ahead while those of the first are installed.
  TInstallPassScope passes;
  try {
    // A component's Process may free components (a shortcut whose target is gone): walk a
    // copy and skip the ones that have left.
    std::vector<TInstallContainer*> containers = InstallSession().Containers.Data();
    std::vector<TFileContainer*> fileContainers;
    for (TInstallContainer* container : containers)
      if (auto* files = dynamic_cast<TFileContainer*>(container);
          files && container->RegisteredType() == TypeCode && container->IsIncluded())
        fileContainers.push_back(files);
    if (passes.Outermost()) ExpectDestinations(fileContainers);
    for (TInstallContainer* container : containers) {
      if (!InstallSession().Containers.Contains(container) || container->RegisteredType() != TypeCode) continue;
      if (!statusShown && !Trim(StatusText).empty()) {
        PushStatusMessage(TranslateMessage(StatusText));
        statusShown = true;
      }
      container->Process();
    }
  } catch (...) {
    if (statusShown) PopStatusMessage();
    throw;
  }
  if (statusShown) PopStatusMessage();
}

void TCustomInstall::NotifyGoodInstall() {
  if (OnBeforeNotifyGoodInstall) OnBeforeNotifyGoodInstall(this);
  Notify(icGoodInstall);
  Notify(icAfterGoodInstallNotice);
  if (OnAfterNotifyGoodInstall) OnAfterNotifyGoodInstall(this);
}

void TCustomInstall::NotifyBadInstall() {
  if (OnBeforeNotifyBadInstall) OnBeforeNotifyBadInstall(this);
  Notify(icBadInstall);
  Notify(icAfterBadInstallNotice);
  if (OnAfterNotifyBadInstall) OnAfterNotifyBadInstall(this);
}

bool TCustomInstall::Shutdown() {
  bool quitOut = true;
  if (OnBeforeShutdown) OnBeforeShutdown(this, quitOut);
  if (quitOut) Application().Terminate();
  return !quitOut;
}

void TCustomInstall::RunFilesAfterInstall() {
  std::vector<TCustomInstallFile*> files = InstallSession().InstallFiles.Data();
  for (TCustomInstallFile* file : files) {
    if (!InstallSession().InstallFiles.Contains(file) || !file->RunAfterInstall()) continue;
    bool defaultAction = true;
    if (OnBeforeRunFile) OnBeforeRunFile(this, file, defaultAction);
    if (!defaultAction) continue;
    // Quoted, so that a path with blanks ("C:\Program Files\...") names one program.
    ExecuteCommand("\"" + file->GetDestPath() + "\"", SW_SHOW);
  }
}

} // namespace qnl
