// The status window: a small borderless window with one message about what the installation
// is doing.
#pragma once

#include "vcl/Form.h"

namespace qnl {

class TLabel;

class TInstallStatusForm : public TForm {
  QNL_CLASS(TInstallStatusForm, TForm)
public:
  explicit TInstallStatusForm(TComponent* AOwner);

  TLabel& MessageLabel() const { return *FMessage; }
  // Sizes the window to the text of the message label and centres it across the screen.
  void FitToMessage();

private:
  TLabel* FMessage = nullptr;
};

} // namespace qnl
