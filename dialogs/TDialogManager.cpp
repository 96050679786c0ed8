// The dialog manager.
#include "dialogs/TDialogManager.h"

#include <algorithm>

#include "common/exceptions_Quenloft.h"
#include "dialogs/DialogRegistries.h"
#include "dialogs/TBaseDuringCopyForm.h"
#include "dialogs/TCustomBaseInstallDlg.h"
#include "dialogs/TerminalProgress.h"
#include "dialogs/dlgcmp_TBaseContainer.h"
#include "engine/InstallParameters.h"
#include "engine/InstallSession.h"
#include "engine/TCustomInstall.h"
#include "engine/TCustomInstallFile.h"
#include "rtl/ScopeGuard.h"

namespace qnl {

QNL_BEGIN_CLASS(TDialogManager)
    .Ref<TInstallContainer>("Container", &C::Container, &C::SetContainer)
    .Prop("Height", &C::Height, &C::SetHeight)
    .Prop("ManagerType", &C::ManagerType, &C::SetManagerType)
    .Prop("Position", &C::Position, &C::SetPosition)
    .Prop("RelativeLeftOffset", &C::RelativeLeftOffset, &C::SetRelativeLeftOffset)
    .Prop("RelativeTopOffset", &C::RelativeTopOffset, &C::SetRelativeTopOffset)
    .Prop("Width", &C::Width, &C::SetWidth);
QNL_END_CLASS

namespace {

TDialogManager*& CurrentManager() {
  static TDialogManager* manager = nullptr;
  return manager;
}

template <class T>
T* CheckedProgress(const TDialogManager& Manager, TObject* PO, const char* ClassName) {
  if (!PO) throw IException("%s got a nil PO parameter", {Manager.Name()});
  auto* parameter = dynamic_cast<T*>(PO);
  if (!parameter)
    throw IException(std::string("The PO object passed to %s is not a ") + ClassName + " object", {Manager.Name()});
  return parameter;
}

// The install file and the disk of a change-disk notification.
std::pair<TCustomInstallFile*, TDiskParameter*> CheckedDiskParameters(TObject* ParameterList) {
  if (!ParameterList)
    throw Exception(
        TranslateMessage("The ParameterObject is Nil in the TDialogManager. Cannot show the change disk form"));
  auto* list = dynamic_cast<TList*>(ParameterList);
  if (!list) throw Exception(TranslateMessage("TChangeDiskDlg--PO is not a TList object"));
  if (list->Count() < 2) throw Exception(TranslateMessage("TChangeDiskDlg--Not engouh parameters for status event"));
  auto* file = dynamic_cast<TCustomInstallFile*>(list->Items(0));
  if (!file) throw Exception("TChangeDiskDlg says bad first parameter");
  auto* disk = dynamic_cast<TDiskParameter*>(list->Items(1));
  if (!disk) throw Exception("TChangeDiskDlg says bad second parameter");
  return {file, disk};
}

} // namespace

TDialogManager* CurrentDialogManager() { return CurrentManager(); }
void SetCurrentDialogManager(TDialogManager* Value) { CurrentManager() = Value; }

TDialogManager* FindDialogManager(TManagerType Kind) {
  TCustomInstall* install = TCustomInstall::Current();
  if (!install) return nullptr;
  for (TInstallContainer* container : InstallSession().Containers.Data()) {
    auto* manager = dynamic_cast<TDialogManager*>(container);
    if (manager && manager->ManagerType() == Kind && manager->Container() == install) return manager;
  }
  return nullptr;
}

void PlaceDialog(TCustomForm& Form, TQuenloftDialogPosition Position, int32_t LeftOffset, int32_t TopOffset,
                 TCentreRounding Rounding) {
  TCustomApplication& app = Application();
  TDialogPlace place = DialogPlace(Position, LeftOffset, TopOffset, Form.Width(), Form.Height(), app.ScreenWidth(),
                                   app.ScreenHeight(), app.CaptionHeight(), Rounding);
  Form.SetBounds(place.Left, place.Top, Form.Width(), Form.Height());
}

TDialogManager::TDialogManager(TComponent* AOwner) : TInstallObject(AOwner) {}

TDialogManager::~TDialogManager() {
  if (CurrentManager() == this) CurrentManager() = nullptr;
}

std::unique_ptr<TBaseFormContainer> TDialogManager::CreateWizard() {
  auto wizard = std::make_unique<TBaseFormContainer>(&Application());
  wizard->TCustomForm::SetPosition(poDesigned);
  wizard->SetBounds(wizard->Left(), wizard->Top(), FWidth, FHeight);
  wizard->SetPosition(FPosition, FRelativeLeftOffset, FRelativeTopOffset);
  wizard->BuildPages();
  return wizard;
}

void TDialogManager::RunWizard() {
  SetCurrentDialogManager(this);
  std::unique_ptr<TBaseFormContainer> wizard;
  TScopeExit done([&wizard] {
    SetCurrentDialogManager(nullptr);
    wizard.reset();
  });
  wizard = CreateWizard();
  if (wizard->PageCount() == 0) return;
  if (wizard->ShowModal() == mrCancel) throw EQXUserAbort();
  if (TCustomForm* main = Application().MainForm()) main->Repaint();
  Application().ProcessMessages();
}

std::unique_ptr<TBaseChangeDiskForm> TDialogManager::CreateChangeDiskForm() {
  if (ChangeDiskRegistry().Count() == 0) return nullptr;
  std::unique_ptr<TComponent> created(ChangeDiskRegistry().Items(0).FormClass->CreateComponent(&Application()));
  auto* form = dynamic_cast<TBaseChangeDiskForm*>(created.get());
  if (!form || form->DM() != this) return nullptr;
  created.release();
  return std::unique_ptr<TBaseChangeDiskForm>(form);
}

void TDialogManager::RunChangeDisk(TObject* ParameterList) {
  std::unique_ptr<TBaseChangeDiskForm> form = CreateChangeDiskForm();
  if (!form) return;
  SetCurrentDialogManager(this);
  TScopeExit done([&form] {
    SetCurrentDialogManager(nullptr);
    form.reset();
  });
  auto [file, disk] = CheckedDiskParameters(ParameterList);
  // The install file reads a non-zero Tag as "the prompt was shown" and skips its own box.
  file->SetTag(1);
  form->SetDiskParameter(disk);
  form->PreparePage();
  form->ApplyLanguage();
  if (form->ShowModal() == mrCancel) throw EQXUserAbort();
}

void TDialogManager::AddDialog(TCustomBaseInstallDlg* Dialog) {
  if (!Dialog) throw Exception(Format(TranslateMessage("Cannot add a NIL Dialog to the Dialog Manager %s"), {Name()}));
  FDialogs.push_back(Dialog);
}

void TDialogManager::RemoveDialog(TCustomBaseInstallDlg* Dialog) {
  auto at = std::find(FDialogs.begin(), FDialogs.end(), Dialog);
  if (at != FDialogs.end()) FDialogs.erase(at);
}

void TDialogManager::CreateCopyForms() {
  for (const TDCFEntry& entry : CopyRegistry().Entries()) {
    TComponent* created = entry.FormClass->CreateComponent(&Application());
    auto* form = dynamic_cast<TBaseDuringCopyForm*>(created);
    if (!form || form->DM() != this) {
      delete created;
      continue;
    }
    if (TCustomBaseInstallDlg* dialog = entry.Dialog) {
      dialog->SetCurrentForm(form);
      PlaceDialog(*form, dialog->Position(), dialog->RelativeLeftOffset(), dialog->RelativeTopOffset(),
                  TCentreRounding::crRoundHalfEven);
      form->SetBounds(form->Left(), form->Top(), dialog->Width(), dialog->Height());
    }
    form->PreparePage();
    form->ApplyLanguage();
    form->Show();
    form->FreeNotification(this);
    FCopyForms.push_back(form);
  }
}

void TDialogManager::UpdateCopyForms(TFileStatusParameter* FileStatus, TDownloadStatusParameter* DownloadStatus) {
  DrawTerminalProgress(FileStatus, DownloadStatus);
  if (FCopyForms.empty()) CreateCopyForms();
  std::vector<TBaseDuringCopyForm*> forms = FCopyForms;
  for (TBaseDuringCopyForm* form : forms)
    if (std::find(FCopyForms.begin(), FCopyForms.end(), form) != FCopyForms.end())
      form->UpdateStatus(FileStatus, DownloadStatus);
}

void TDialogManager::CloseCopyForms() {
  EndTerminalProgress();
  std::vector<TBaseDuringCopyForm*> forms;
  forms.swap(FCopyForms);
  for (TBaseDuringCopyForm* form : forms) {
    form->Close();
  }
}

void TDialogManager::ForgetCopyForm(TComponent* Form) {
  std::erase_if(FCopyForms, [Form](TBaseDuringCopyForm* F) { return F == Form; });
}

void TDialogManager::Notification(TComponent* AComponent, TOperation Operation) {
  TInstallObject::Notification(AComponent, Operation);
  if (Operation == opRemove) ForgetCopyForm(AComponent);
}

void TDialogManager::ContainerDestroyed(TInstallContainer* Container) {
  if (auto* dialog = dynamic_cast<TCustomBaseInstallDlg*>(Container)) RemoveDialog(dialog);
  TInstallObject::ContainerDestroyed(Container);
}

void TDialogManager::InformationEvent(TObject* Sender, int32_t Code, TObject* PO) {
  switch (Code) {
    case icInstallStart:
      if (FManagerType == dmBeforeInstall) RunWizard();
      break;
    case icAfterGoodInstallNotice:
      if (FManagerType == dmAfterGoodInstall) RunWizard();
      break;
    case icAfterBadInstallNotice:
      if (FManagerType == dmAfterBadInstall) RunWizard();
      break;
    case icRebootNeeded:
      if (FManagerType == dmReboot) RunWizard();
      break;
    case icProgress:
      if (FManagerType == dmDuringCopyFiles)
        UpdateCopyForms(CheckedProgress<TFileStatusParameter>(*this, PO, "TFileStatusParameter"), nullptr);
      break;
    case icDownloadProgress:
      if (FManagerType == dmDuringCopyFiles)
        UpdateCopyForms(nullptr, CheckedProgress<TDownloadStatusParameter>(*this, PO, "TDownloadStatusParameter"));
      break;
    case icOperationEnded:
      if (FManagerType == dmDuringCopyFiles) CloseCopyForms();
      break;
    case icNewDiskNeeded:
      if (FManagerType == dmChangeDisk) RunChangeDisk(PO);
      break;
    default: break;
  }
}

} // namespace qnl
