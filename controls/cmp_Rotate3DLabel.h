// The rotated 3-D label: a caption drawn at any angle, raised, sunken or shadowed.
#pragma once

#include <memory>

#include "controls/TLabelStyle.h"
#include "rtl/Controls.h"
#include "vcl/Canvas.h"

namespace qnl {

// A caption in a TrueType font turned by LabelStyle's Angle about the label's centre, drawn
// in up to three layers (highlight, shadow, text) as LabelStyle's effect asks. Transparent
// unless MyTransparent is False, which paints a turned rectangle in Color behind the text
// and gives up the 3-D effect for good. Tag -1 marks at most one label.
class TRotate3DLabel : public TControl {
  QNL_CLASS(TRotate3DLabel, TControl)
public:
  explicit TRotate3DLabel(TComponent* AOwner);
  ~TRotate3DLabel() override;

  TLabelStyle* LabelStyle() const { return FLabelStyle.get(); }
  // Copies Value.
  void SetLabelStyle(const TLabelStyle* Value);
  bool MyTransparent() const { return FMyTransparent; }
  void SetMyTransparent(bool Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value) { FShowAccelChar = Value; }
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  void SetTag(int32_t Value);

  // From another label: Caption, the style, Font, Align, the bounds and MyTransparent.
  void Assign(const TPersistent* Source) override;
  std::string DisplayedText() const override { return Caption(); }
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;

private:
  void Repaint() { Changed(TControlAspect::acLook); }
  void Paint(TCanvas& Canvas);

  static constexpr double kDegToRad = 0.017453292519943295;
  std::unique_ptr<TLabelStyle> FLabelStyle;
  bool FMyTransparent = true;
  TAlignment FAlignment = taLeftJustify;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
  double FCos = 1; // of the angle last painted
  double FSin = 0;
};

} // namespace qnl
