// The form's graphic values as Qt sees them.
#include "vcl/QtGraphics.h"

#include "vcl/AnsiText.h"

namespace qnl {

QFont QtFont(const TFont& f) {
  QFont font(AnsiToQString(f.Name()));
  // A negative height is the character height without internal leading, close to the
  // pixel size Qt means; a positive one includes the leading.
  int pixels = f.Height() < 0 ? -f.Height() : (f.Height() * 4 + 2) / 5;
  if (pixels > 0) font.setPixelSize(pixels);
  font.setBold(f.Style().Contains(fsBold));
  font.setItalic(f.Style().Contains(fsItalic));
  font.setUnderline(f.Style().Contains(fsUnderline));
  font.setStrikeOut(f.Style().Contains(fsStrikeOut));
  if (f.Pitch() == fpFixed) font.setFixedPitch(true);
  return font;
}

QColor QtColor(TColor Color) {
  uint32_t rgb = ColorToRGB(Color);
  return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

} // namespace qnl
