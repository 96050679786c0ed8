// The page that offers to restart the machine.
#include "dialogs/ordlg_Reboot.h"

#include "dialogs/AnswerFile.h"
#include "dialogs/DialogLayouts.h"
#include "engine/TCustomInstall.h"
#include "vcl/GroupBox.h"

namespace qnl {

namespace {
constexpr int kYes = 0;
constexpr int kNo = 1;
} // namespace

QNL_BEGIN_CLASS(TRebootForm).Method("RGClick", &C::RGClick);
QNL_END_CLASS

TRebootForm::TRebootForm(TComponent* AOwner) : TBasePageForm(AOwner, dmReboot, 10) {
  LoadLayout(DialogLayout("TRebootForm"));
}

void TRebootForm::PreparePage() {
  TBasePageForm::PreparePage();
  TFilling filling(*this);
  auto& choice = dynamic_cast<TRadioGroup&>(Control("RG"));
  choice.SetItemIndex(kNo);
  TCustomInstall* install = TCustomInstall::Current();
  if (install && install->Reboot()) choice.SetItemIndex(kYes);
}

void TRebootForm::TakeAnswers(const TAnswerFile& Answers) {
  if (std::optional<std::string> reboot = Answers.Take("Reboot", "Reboot"))
    dynamic_cast<TRadioGroup&>(Control("RG")).SetItemIndex(SameText(*reboot, "Yes") ? kYes : kNo);
}

void TRebootForm::ReportAnswers(const TAnswerSink& Sink) {
  Sink({"Reboot", "Reboot", dynamic_cast<TRadioGroup&>(Control("RG")).ItemIndex() == kYes ? "Yes" : "No"});
}

void TRebootForm::RGClick(TObject*) {
  TCustomInstall* install = TCustomInstall::Current();
  if (Filling() || !install) return;
  install->SetReboot(dynamic_cast<TRadioGroup&>(Control("RG")).ItemIndex() == kYes);
}

} // namespace qnl
