// The install component's start-up: the command line, the loaded notification, the run
// mode and the hook on the main form's first activation.
#include "archive/TQnlfCompress.h"
#include "common/routines_API.h"
#include "common/routines_Strings.h"
#include "engine/InstallLogSteps.h"
#include "engine/InstallSession.h"
#include "engine/SelfExtractingSetup.h"
#include "engine/TCustomInstall.h"
#include "platform/files/Files.h"
#include "platform/registry/Registry.h"
#include "rtl/ProgramArguments.h"
#include "rtl/SysUtils.h"
#include "settings/routines_Registry.h"

namespace qnl {

void TCustomInstall::ParseCommandLine() {
  FCommandLine.Clear();
  FCommandLine.Parse(ProgramArguments());
}

void TCustomInstall::Loaded() {
  inherited::Loaded();
  if (!IsDesigning()) {
    ParseCommandLine();
    if (HasSwitch(swDebug) && (!HasSwitch(swSourcePath) || Trim(SwitchArgument(swSourcePath)).empty()))
      throw IEInstall("You forgot to pass in the build directory. In Run | Parameters, follow this format: "
                      "-d \"-sC:\\My Build\"");
  }
  // A source given with a trailing backslash is kept without it, like every directory here.
  FInstallSource =
      HasSwitch(swSourcePath) ? RemoveBackSlash(SwitchArgument(swSourcePath)) : ExtractFileDir(GetModuleName());
  // Looking a record up stamps it with this run: a project only looked at leaves them alone.
  if (!InstallSession().LookOnly) InstallSession().InstallRecordKey = FindInstallRecord(false);
  TakeDownloadedArchive();

  FMainForm = Application().MainForm();
  if (!FMainForm) FMainForm = dynamic_cast<TCustomForm*>(Owner());
  if (FMainForm) FreeNotification(FMainForm);
  if (!FMainForm && FRunAutomatic)
    throw IEInstall("Application.MainForm is undefined and the TInstall is not on a form. Therefore, therefore the "
                    "TInstall can't run the installation automatically");

  SetCurrentInstallType(itFull);
  TInstallTypeSet types = InstallTypes();
  SetCurrentInstallType(types.Contains(itDefault) ? itDefault : types.Contains(itCompact) ? itCompact : itFull);

  if (IsDesigning()) {
    // The project brings its own translator.
    delete FDesignTimeTranslator;
    FDesignTimeTranslator = nullptr;
    return;
  }
  ChooseRunMode();
}

void TCustomInstall::ChooseRunMode() {
  if (InstallSession().LookOnly) return;
  LogInstallStart(FInformation->FProductName, FInformation->FVersion);
  if (HasSwitch(swBuild)) {
    RunBuildMode();
    return;
  }
  if (HasSwitch(swFloppies)) {
    TransferToFloppies("a:");
    return;
  }
  if (HasSwitch(swAfterReboot)) {
    ContinueAfterReboot();
    return;
  }
  if (!FMainForm) return;
  InstallActivateHook();
  if (FHideMainForm) {
    FMainForm->SetLeft(-2 * FMainForm->Width());
    FMainForm->SetTop(-2 * FMainForm->Height());
  }
}

// A local copy of this component's net archive, downloaded by an earlier run, is used again
// while the file still exists.
void TCustomInstall::TakeDownloadedArchive() {
  const std::string& record = InstallSession().InstallRecordKey;
  if (record.empty()) return;
  std::optional<TRegKey> key = TRegKey::Open(TRootKey::rkLocalMachine, record + "\\" + Name());
  if (!key) return;
  std::string localFile = Trim(key->ReadString("LocalFile").value_or(""));
  if (!localFile.empty() && FileExists(localFile)) SetLocalArchive(localFile);
}

void TCustomInstall::InstallActivateHook() {
  FSavedOnActivate = FMainForm->OnActivate;
  FActivateSaved = true;
  FMainForm->OnActivate = [this](TObject* Sender) { OnActivateHook(Sender); };
}

void TCustomInstall::RestoreActivateHandler() {
  if (!FActivateSaved || !FMainForm || FMainForm->IsDestroying() || IsDesigning()) return;
  FMainForm->OnActivate = FSavedOnActivate;
  FActivateSaved = false;
}

void TCustomInstall::OnActivateHook(TObject* Sender) {
  if (FStarted) return;
  // Started is set before the saved handler runs, so that an activation caused by that
  // handler (a dialog it shows) cannot start a second run.
  FStarted = true;
  if (FSavedOnActivate) FSavedOnActivate(Owner());
  if (FMainForm && FAutoMaximizeWindow) {
    FMainForm->SetWindowState(wsMaximized);
    FMainForm->Repaint();
  }
  if (!FRunAutomatic) return; // the project's own code calls Process
  if (Owner() && !Owner()->IsDestroying()) RestoreActivateHandler();
  Process();
}

void TCustomInstall::ReadSelfExtractOffset() {
  TSelfExtractInfo info = ReadSelfExtractInfo(GetArchivePath());
  // The archive component reads every position of files.1 relative to this offset.
  FArchiveOffset = info.MainArchiveStart;
  QnlfCompress().SetOffset(info.MainArchiveStart);
}

std::string TCustomInstall::FindInstallRecord(bool Create) {
  TInstallRecordQuery query;
  query.ExecutablePath = GetModuleName();
  query.StartTime = InstallSession().StartTime;
  if (HasSwitch(swSelfExtractor)) query.SelfExtract = AddBackSlash(FInstallSource) + SwitchArgument(swSelfExtractor);
  return qnl::FindInstallRecord(Create, query);
}

} // namespace qnl
