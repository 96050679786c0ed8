// A panel: a frame with bevels holding other controls.
#pragma once

#include "rtl/Controls.h"
#include "rtl/Forms.h"

namespace qnl {

QNL_ENUM(TPanelBevel, bvNone, bvLowered, bvRaised, bvSpace)

// A panel: an outer bevel, BorderWidth pixels of its colour, an inner bevel, each bevel
// BevelWidth pixels wide, and its caption drawn in what is left (Alignment across,
// centred down). Aligned children share the area inside the bevels and border.
class TPanel : public TWinControl {
  QNL_CLASS(TPanel, TWinControl)
public:
  explicit TPanel(TComponent* AOwner);

  TPanelBevel BevelInner() const { return FBevelInner; }
  void SetBevelInner(TPanelBevel Value);
  TPanelBevel BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TPanelBevel Value);
  int32_t BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int32_t Value);
  int32_t BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int32_t Value);
  // bsNone or bsSingle: a black line around everything.
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool FullRepaint() const { return FFullRepaint; }
  void SetFullRepaint(bool Value) { FFullRepaint = Value; }

  void AdjustClientRect(int32_t& L, int32_t& T, int32_t& R, int32_t& B) const override;
  std::string DisplayedText() const override;

private:
  void LookChanged();
  TPanelBevel FBevelInner = bvNone;
  TPanelBevel FBevelOuter = bvRaised;
  int32_t FBevelWidth = 1;
  int32_t FBorderWidth = 0;
  TFormBorderStyle FBorderStyle = bsNone;
  TAlignment FAlignment = taCenter;
  bool FFullRepaint = true;
};

} // namespace qnl
