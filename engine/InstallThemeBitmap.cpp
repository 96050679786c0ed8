// The built-in wizard picture: a vertical blue gradient with a lighter diagonal band, drawn
// in code so that no binary resource has to be carried.
#include "engine/InstallThemeBitmap.h"

#include <cstdint>

#include "rtl/ByteOrder.h"

namespace qnl {

namespace {
constexpr int Width = 117;
constexpr int Height = 290;

std::string MakeTheme() {
  const int rowSize = (Width * 3 + 3) & ~3;
  const uint32_t pixelBytes = static_cast<uint32_t>(rowSize * Height);
  std::string bmp(54 + pixelBytes, '\0');
  bmp[0] = 'B';
  bmp[1] = 'M';
  WriteLE32(bmp, 2, 54 + pixelBytes); // file size
  WriteLE32(bmp, 10, 54);             // offset of the pixels
  WriteLE32(bmp, 14, 40);             // BITMAPINFOHEADER
  WriteLE32(bmp, 18, Width);
  WriteLE32(bmp, 22, Height); // bottom-up rows
  WriteLE16(bmp, 26, 1);      // planes
  WriteLE16(bmp, 28, 24);     // bits per pixel
  WriteLE32(bmp, 34, pixelBytes);
  WriteLE32(bmp, 38, 2835); // 72 dpi
  WriteLE32(bmp, 42, 2835);
  for (int y = 0; y < Height; ++y) {
    int top = Height - 1 - y; // distance from the top edge
    for (int x = 0; x < Width; ++x) {
      int band = (x + top / 2) % 64 < 8 ? 40 : 0;
      int blue = 255 - top * 120 / Height;
      int green = 40 + top * 60 / Height + band;
      int red = 20 + band;
      size_t at = 54 + static_cast<size_t>(y) * rowSize + static_cast<size_t>(x) * 3;
      bmp[at] = static_cast<char>(blue);
      bmp[at + 1] = static_cast<char>(green);
      bmp[at + 2] = static_cast<char>(red);
    }
  }
  return bmp;
}
} // namespace

const std::string& InstallTheme1Bmp() {
  static const std::string bmp = MakeTheme();
  return bmp;
}

} // namespace qnl
