// The backdrop: a panel filled with a colour gradient.
#pragma once

#include "rtl/Graphics.h"
#include "vcl/Canvas.h"
#include "vcl/Panel.h"

namespace qnl {

QNL_ENUM(TDirection, bdUp, bdDown, bdLeft, bdRight, bdHorzIn, bdHorzOut, bdVertIn, bdVertOut)

// A panel that shows only a gradient between StartColor and EndColor in 256 bands (128
// each way when mirrored), whatever its size; it fills its parent unless aligned otherwise.
// Tag -1 marks at most one backdrop.
class TBackdrop : public TPanel {
  QNL_CLASS(TBackdrop, TPanel)
public:
  explicit TBackdrop(TComponent* AOwner);
  ~TBackdrop() override;

  TDirection Direction() const { return FDirection; }
  void SetDirection(TDirection Value);
  TColor StartColor() const { return FStartColor; }
  void SetStartColor(TColor Value);
  TColor EndColor() const { return FEndColor; }
  void SetEndColor(TColor Value);
  void SetTag(int32_t Value);

  // From another backdrop: Direction, the colours and Align.
  void Assign(const TPersistent* Source) override;

private:
  void Paint(TCanvas& Canvas) const;
  TDirection FDirection = bdUp;
  TColor FStartColor = 0xFF0000;
  TColor FEndColor = 0;
};

} // namespace qnl
