// The page on which the user chooses the installation's directory.
#pragma once

#include "dialogs/ordlg_BasePage.h"

namespace qnl {

// Works on its Container (the install component): what the user types or browses to becomes
// the container's literal destination at once.
class TSelectDestinationForm : public TBasePageForm {
  QNL_CLASS(TSelectDestinationForm, TBasePageForm)
public:
  explicit TSelectDestinationForm(TComponent* AOwner);
  void PreparePage() override;
  void TakeAnswers(const TAnswerFile& Answers) override;
  void ReportAnswers(const TAnswerSink& Sink) override;
  void EdDestDirChange(TObject* Sender);
  void BrowseBtnClick(TObject* Sender);

private:
  // The container's expanded destination; empty without a container.
  std::string Destination() const;
  void SetLiteralDestination(const std::string& Dir);
};

} // namespace qnl
