// Cutting a glyph strip into its state images, and the engraved disabled image.
#include "rtl/ButtonGlyph.h"

#include <algorithm>

namespace qnl {

namespace {

// The part of Image from column Left, Width wide.
TPixelImage Columns(const TPixelImage& Image, int32_t Left, int32_t Width) {
  TPixelImage out;
  out.Width = Width;
  out.Height = Image.Height;
  out.Pixels.reserve(static_cast<size_t>(Width) * static_cast<size_t>(Image.Height));
  for (int32_t y = 0; y < Image.Height; ++y)
    for (int32_t x = 0; x < Width; ++x) out.Pixels.push_back(Image.At(Left + x, y));
  out.HasAlpha = Image.HasAlpha;
  return out;
}

// A pixel that an engraving shows: visible and darker than near-white.
bool IsInk(uint32_t P) {
  if ((P >> 24) < 0x80) return false;
  return ((P >> 16) & 0xFF) < 0xF0 || ((P >> 8) & 0xFF) < 0xF0 || (P & 0xFF) < 0xF0;
}

TPixelImage Engraved(const TPixelImage& Up, uint32_t Shadow, uint32_t Highlight) {
  TPixelImage out = Up;
  std::fill(out.Pixels.begin(), out.Pixels.end(), 0u);
  out.HasAlpha = true;
  auto at = [&](int32_t X, int32_t Y) -> uint32_t& {
    return out.Pixels[static_cast<size_t>(Y) * static_cast<size_t>(out.Width) + static_cast<size_t>(X)];
  };
  for (int32_t y = 0; y < Up.Height; ++y)
    for (int32_t x = 0; x < Up.Width; ++x)
      if (IsInk(Up.At(x, y)) && x + 1 < Up.Width && y + 1 < Up.Height) at(x + 1, y + 1) = Highlight;
  for (int32_t y = 0; y < Up.Height; ++y)
    for (int32_t x = 0; x < Up.Width; ++x)
      if (IsInk(Up.At(x, y))) at(x, y) = Shadow;
  return out;
}

} // namespace

void KeyOutCornerColour(TPixelImage& Image) {
  if (Image.Pixels.empty()) return;
  uint32_t key = Image.At(0, Image.Height - 1);
  if ((key >> 24) != 0xFF) return; // a picture with an alpha channel of its own
  for (uint32_t& p : Image.Pixels)
    if (p == key) {
      p = 0;
      Image.HasAlpha = true;
    }
}

TPixelImage GlyphImage(const TPixelImage& Strip, int NumGlyphs, TButtonState State, uint32_t Shadow,
                       uint32_t Highlight) {
  if (NumGlyphs < 1 || NumGlyphs > 4) NumGlyphs = 1;
  int32_t width = Strip.Width / NumGlyphs;
  if (width == 0 || Strip.Pixels.empty()) return TPixelImage();
  int index = static_cast<int>(State);
  bool own = index < NumGlyphs;
  TPixelImage image = Columns(Strip, own ? width * index : 0, width);
  KeyOutCornerColour(image);
  if (State == TButtonState::bsDisabled && !own) return Engraved(image, Shadow, Highlight);
  return image;
}

} // namespace qnl
