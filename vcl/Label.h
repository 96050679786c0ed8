// A static text.
#pragma once

#include "rtl/Controls.h"

class QLabel;

namespace qnl {

QNL_ENUM(TTextLayout, tlTop, tlCenter, tlBottom)

// A static text. "&&" shows one ampersand and a single "&" marks the accelerator: with a
// FocusControl it is underlined and Alt+letter focuses that control, without one it is not
// drawn. While AutoSize is set the label takes the size of its text (only its height when
// it wraps words). Alignment and Layout place the text inside the bounds.
class TLabel : public TControl {
  QNL_CLASS(TLabel, TControl)
public:
  explicit TLabel(TComponent* AOwner);
  ~TLabel() override;

  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  QLabel* LabelWidget() const;

  void AdjustSize() override;
  std::string DisplayedText() const override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  bool FWordWrap = false;
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FTransparent = false;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
};

} // namespace qnl
