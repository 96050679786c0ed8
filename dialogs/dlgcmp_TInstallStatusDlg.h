// The status dialog: shows the newest of a stack of messages that the installation pushes
// and pops around its long steps.
#pragma once

#include <string>
#include <vector>

#include "dialogs/TDuringInstallDlg.h"

namespace qnl {

class TInstallStatusForm;

// It has no manager: it always handles the push and pop notifications itself.
class TInstallStatusDlg : public TDuringInstallDlg {
  QNL_CLASS(TInstallStatusDlg, TDuringInstallDlg)
public:
  explicit TInstallStatusDlg(TComponent* AOwner);

  // Oldest first.
  const std::vector<std::string>& Messages() const { return FMessages; }
  const std::string& CurrentMessage() const { return FCurrentMessage; }
  // The window, made with the first message and kept; none before.
  TInstallStatusForm* StatusForm() const;

  // Shows the current message, translated, in a window sized to it.
  void ShowStatusMessage();
  void HideStatusMessage();
  // Every message arrives in English: the window's text is translated from English each time.
  void Translate() override;

  void InformationEvent(TObject* Sender, int32_t Code, TObject* PO) override;

private:
  void Push(TObject* PO);
  void Pop();
  std::vector<std::string> FMessages;
  std::string FCurrentMessage;
};

} // namespace qnl
