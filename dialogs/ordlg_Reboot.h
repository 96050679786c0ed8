// The page that offers to restart the machine.
#pragma once

#include "dialogs/ordlg_BasePage.h"

namespace qnl {

// Yes or No for the install component's Reboot, written at each click.
class TRebootForm : public TBasePageForm {
  QNL_CLASS(TRebootForm, TBasePageForm)
public:
  explicit TRebootForm(TComponent* AOwner);
  void PreparePage() override;
  void TakeAnswers(const TAnswerFile& Answers) override;
  void ReportAnswers(const TAnswerSink& Sink) override;
  void RGClick(TObject* Sender);
};

} // namespace qnl
