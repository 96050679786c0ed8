// A check box.
#pragma once

#include "rtl/Controls.h"

class QCheckBox;

namespace qnl {

QNL_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed)

// A check box with its caption ("&" marks the accelerator). A click toggles it (through
// grayed when AllowGrayed) and runs OnClick, as does setting Checked or State.
class TCheckBox : public TWinControl {
  QNL_CLASS(TCheckBox, TWinControl)
public:
  explicit TCheckBox(TComponent* AOwner);

  bool Checked() const { return FState == cbChecked; }
  void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState Value);
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value);
  // taRightJustify puts the caption right of the box (the usual), taLeftJustify left of it.
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);

  TNotifyEvent OnClick;
  QCheckBox* CheckBoxWidget() const;
  std::string DisplayedText() const override;

private:
  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
  TAlignment FAlignment = taRightJustify;
};

} // namespace qnl
