// The status dialog.
#include "dialogs/dlgcmp_TInstallStatusDlg.h"

#include "common/exceptions_Quenloft.h"
#include "dialogs/TBaseQuenloftForm.h"
#include "dialogs/ordlg_InstallStatus.h"
#include "engine/InstallParameters.h"
#include "engine/TInstallContainer.h"
#include "vcl/Label.h"

namespace qnl {

QNL_BEGIN_CLASS(TInstallStatusDlg);
QNL_END_CLASS

TInstallStatusDlg::TInstallStatusDlg(TComponent* AOwner)
    : TDuringInstallDlg(AOwner, std::nullopt, nullptr, &TInstallStatusForm::StaticClassInfo()) {}

TInstallStatusForm* TInstallStatusDlg::StatusForm() const { return dynamic_cast<TInstallStatusForm*>(CurrentForm()); }

void TInstallStatusDlg::InformationEvent(TObject*, int32_t Code, TObject* PO) {
  if (Code == icPushStatusMessage)
    Push(PO);
  else if (Code == icPopStatusMessage)
    Pop();
}

void TInstallStatusDlg::Push(TObject* PO) {
  if (!PO) throw IException("%s got a nil PO parameter", {Name()});
  auto* message = dynamic_cast<TMessageParameter*>(PO);
  if (!message) throw IException("The PO object passed to %s is not a TMessageParameter object", {Name()});
  FMessages.push_back(message->Text);
  FCurrentMessage = message->Text;
  ShowStatusMessage();
}

void TInstallStatusDlg::Pop() {
  if (FMessages.empty()) return;
  FMessages.pop_back();
  if (FMessages.empty()) return HideStatusMessage();
  FCurrentMessage = FMessages.back();
  ShowStatusMessage();
}

void TInstallStatusDlg::ShowStatusMessage() {
  TInstallStatusForm* form = StatusForm();
  if (!form) {
    form = new TInstallStatusForm(&Application());
    SetCurrentForm(form);
    AssignDialogProperties();
  }
  TLabel& label = form->MessageLabel();
  label.SetAlignment(taLeftJustify);
  label.SetWordWrap(false);
  label.SetCaption(FCurrentMessage);
  Translate();
  form->FitToMessage();
  form->Show();
  form->Repaint();
  Application().ProcessMessages();
}

void TInstallStatusDlg::HideStatusMessage() {
  if (TInstallStatusForm* form = StatusForm()) form->Hide();
  Application().ProcessMessages();
}

void TInstallStatusDlg::Translate() {
  if (TCustomForm* form = CurrentForm())
    LocalizeForm(form, qlEnglish, AutoSetFont(), AutoTranslate(), OverrideMainTranslator(), TranslateIntoLanguage());
}

} // namespace qnl
