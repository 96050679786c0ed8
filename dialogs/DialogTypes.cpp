// The places a dialog window can take on the screen.
#include "dialogs/DialogTypes.h"

#include <cmath>

#include "rtl/Math.h"

namespace qnl {

namespace {

int32_t CentreOffset(int32_t Screen, int32_t Window, TCentreRounding Rounding) {
  if (Rounding == TCentreRounding::crTruncate) {
    float offset = static_cast<float>(Screen) / 2.0f - static_cast<float>(Window) / 2.0f;
    return static_cast<int32_t>(std::trunc(offset));
  }
  return static_cast<int32_t>(Round(static_cast<double>(Screen) / 2.0 - static_cast<double>(Window) / 2.0));
}

} // namespace

TDialogPlace DialogPlace(TQuenloftDialogPosition Position, int32_t LeftOffset, int32_t TopOffset, int32_t Width,
                         int32_t Height, int32_t ScreenWidth, int32_t ScreenHeight, int32_t CaptionHeight,
                         TCentreRounding Rounding) {
  int column = static_cast<int>(Position) % 3, row = static_cast<int>(Position) / 3;
  TDialogPlace place;
  switch (column) {
    case 0: place.Left = LeftOffset; break;
    case 1: place.Left = CentreOffset(ScreenWidth, Width, Rounding) + LeftOffset; break;
    default: place.Left = ScreenWidth - Width - LeftOffset; break;
  }
  switch (row) {
    case 0: place.Top = CentreOffset(ScreenHeight, Height, Rounding) + TopOffset; break;
    case 1: place.Top = ScreenHeight - CaptionHeight - Height - TopOffset; break;
    default: place.Top = TopOffset; break;
  }
  return place;
}

} // namespace qnl
