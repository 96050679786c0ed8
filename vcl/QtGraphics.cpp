// The form's graphic values as Qt sees them.
#include "vcl/QtGraphics.h"

#include "vcl/AnsiText.h"

namespace qnl {

QFont QtFont(const TFont& F) {
  QFont font(AnsiToQString(F.Name()));
  // A negative height is the character height without internal leading, close to the
  // pixel size Qt means; a positive one includes the leading.
  int pixels = F.Height() < 0 ? -F.Height() : (F.Height() * 4 + 2) / 5;
  if (pixels > 0) font.setPixelSize(pixels);
  font.setBold(F.Style().Contains(fsBold));
  font.setItalic(F.Style().Contains(fsItalic));
  font.setUnderline(F.Style().Contains(fsUnderline));
  font.setStrikeOut(F.Style().Contains(fsStrikeOut));
  if (F.Pitch() == fpFixed) font.setFixedPitch(true);
  return font;
}

QColor QtColor(TColor Color) {
  uint32_t rgb = ColorToRGB(Color);
  return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

} // namespace qnl
