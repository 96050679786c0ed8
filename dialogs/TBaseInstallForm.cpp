// The base of the wizard pages.
#include "dialogs/TBaseInstallForm.h"

#include "dialogs/TCustomBaseInstallDlg.h"
#include "dialogs/dlgcmp_TBaseContainer.h"
#include "engine/TCustomInstall.h"
#include "vcl/Image.h"

namespace qnl {

QNL_BEGIN_CLASS(TBaseInstallForm)
    .Ref<TCustomBaseInstallDlg>("DC", &C::DC, &C::SetDC)
    .Prop("Order", &C::Order, &C::SetOrder);
QNL_END_CLASS

TBaseInstallForm::TBaseInstallForm(TComponent* AOwner, TManagerType Kind) : TManagedForm(AOwner, Kind) {}

TBaseInstallForm::~TBaseInstallForm() { SetDC(nullptr); }

void TBaseInstallForm::SetDC(TCustomBaseInstallDlg* Value) {
  if (FDC == Value) return;
  FDC = Value;
  if (FDC) FDC->FreeNotification(this);
}

void TBaseInstallForm::Notification(TComponent* AComponent, TOperation Operation) {
  TManagedForm::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDC) FDC = nullptr;
}

TBaseFormContainer* TBaseInstallForm::Wizard() const { return dynamic_cast<TBaseFormContainer*>(Owner()); }

bool TBaseInstallForm::IsFirstPage() {
  TBaseFormContainer* wizard = Wizard();
  if (!wizard) return false;
  for (int i = 0; i < wizard->PageIndex(); ++i)
    if (!wizard->Pages(i)->SkipPage()) return false;
  return true;
}

bool TBaseInstallForm::IsLastPage() {
  TBaseFormContainer* wizard = Wizard();
  return wizard && wizard->PageIndex() + 1 == wizard->PageCount();
}

void TBaseInstallForm::CancelWizard() {
  if (TBaseFormContainer* wizard = Wizard())
    wizard->SetModalResult(mrCancel);
  else
    SetModalResult(mrCancel);
}

void TBaseInstallForm::NextPage() {
  if (TBaseFormContainer* wizard = Wizard()) wizard->Next();
}

void TBaseInstallForm::PreviousPage() {
  if (TBaseFormContainer* wizard = Wizard()) wizard->Previous();
}

void TBaseInstallForm::ActivatePage() {
  if (!dynamic_cast<TCustomForm*>(Owner())) return;
  PreparePage();
  BringToFront();
}

void TBaseInstallForm::ConfirmCancel() {
  if (UserMayAbort()) CancelWizard();
}

TImage* TBaseInstallForm::ThemeImage() const { return dynamic_cast<TImage*>(FindComponent("ThemeBitmap")); }

void TBaseInstallForm::LayoutLoaded() {
  TImage* image = ThemeImage();
  if (image && image->Picture()->Empty()) ShowDefaultTheme(image);
}

bool UserMayAbort() {
  TCustomInstall* install = TCustomInstall::Current();
  return !install || install->QueryUserAbort();
}

void ShowDefaultTheme(TImage* Image) {
  TCustomInstall* install = TCustomInstall::Current();
  if (install) Image->Picture()->Assign(install->DialogThemeBitmap());
}

} // namespace qnl
