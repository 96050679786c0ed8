// The form's graphic values as Qt sees them.
#include "vcl/QtGraphics.h"

#include <algorithm>
#include <cstring>

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

QImage QtImage(const TPixelImage& Pixels) {
  if (Pixels.Pixels.empty()) return QImage();
  QImage image(Pixels.Width, Pixels.Height, Pixels.HasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  for (int y = 0; y < Pixels.Height; ++y)
    std::memcpy(image.scanLine(y), Pixels.Pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(Pixels.Width),
                static_cast<size_t>(Pixels.Width) * 4);
  return image;
}

namespace {

QImage IconImage(const TIconImage& Image) {
  if (Image.Png.empty()) return QtImage(Image.Pixels);
  // The reader checked the PNG's header only; a PNG that Qt cannot read shows nothing.
  return QImage::fromData(reinterpret_cast<const uchar*>(Image.Png.data()), static_cast<int>(Image.Png.size()), "PNG");
}

} // namespace

QImage QtImage(const TGraphic* Graphic, int Size) {
  if (auto* bitmap = dynamic_cast<const TBitmap*>(Graphic)) return QtImage(bitmap->Pixels());
  if (auto* icon = dynamic_cast<const TIcon*>(Graphic); icon && !icon->Empty())
    return IconImage(icon->Images()[BestIconImage(icon->Images(), Size)]);
  return QImage();
}

QIcon QtIcon(const TIcon& Icon) {
  QIcon icon;
  for (const TIconImage& image : Icon.Images()) icon.addPixmap(QPixmap::fromImage(IconImage(image)));
  return icon;
}

QRect PictureRect(const QRect& Client, const QSize& PictureSize, bool Center, bool Stretch) {
  if (Stretch) return Client;
  QRect rect(Client.topLeft(), PictureSize);
  if (Center) rect.translate((Client.width() - PictureSize.width()) / 2, (Client.height() - PictureSize.height()) / 2);
  return rect;
}

void DrawPicture(QPainter& Painter, const QRect& Client, const TPicture& Picture, bool Center, bool Stretch,
                 bool Transparent) {
  QImage image;
  if (TBitmap* bitmap = Picture.Bitmap()) {
    if (Transparent) {
      TPixelImage keyed = bitmap->Pixels();
      KeyOutCornerColour(keyed);
      image = QtImage(keyed);
    } else {
      image = QtImage(bitmap->Pixels());
    }
  } else {
    image = QtImage(Picture.Graphic(), Stretch ? std::min(Client.width(), Client.height()) : 32);
  }
  if (image.isNull()) return;
  Painter.drawImage(PictureRect(Client, image.size(), Center, Stretch), image);
}

QPixmap GlyphPixmap(const TBitmap& Glyph, int NumGlyphs, TButtonState State) {
  auto argb = [](TColor C) { return 0xFF000000u | QtColor(C).rgb(); };
  return QPixmap::fromImage(
      QtImage(GlyphImage(Glyph.Pixels(), NumGlyphs, State, argb(clBtnShadow), argb(clBtnHighlight))));
}

} // namespace qnl
