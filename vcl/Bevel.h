// A bevel: a sunken or raised box, frame or line.
#pragma once

#include "rtl/Controls.h"

namespace qnl {

QNL_ENUM(TBevelShape, bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer)
QNL_ENUM(TBevelStyle, bsLowered, bsRaised)

// Lines that separate parts of a form: a lowered or raised box, a double frame, one edge,
// or nothing (a spacer). It takes no mouse clicks.
class TBevel : public TControl {
  QNL_CLASS(TBevel, TControl)
public:
  explicit TBevel(TComponent* AOwner);
  TBevelShape Shape() const { return FShape; }
  void SetShape(TBevelShape Value);
  TBevelStyle Style() const { return FStyle; }
  void SetStyle(TBevelStyle Value);

private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};

} // namespace qnl
