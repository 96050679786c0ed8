// A bitmap button's glyph strip cut into the images of its states.
#include <gtest/gtest.h>

#include "rtl/ButtonGlyph.h"

using namespace qnl;

namespace {

constexpr uint32_t kOlive = 0xFF808000u, kShadow = 0xFF808080u, kWhite = 0xFFFFFFFFu;
const uint32_t kCentre[] = {0xFF000000u, 0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu};

// NumGlyphs images of 3 x 3 olive pixels side by side, image k with kCentre[k] in its middle.
TPixelImage Strip(int NumGlyphs) {
  TPixelImage strip;
  strip.Width = 3 * NumGlyphs;
  strip.Height = 3;
  strip.Pixels.assign(static_cast<size_t>(strip.Width) * 3, kOlive);
  for (int k = 0; k < NumGlyphs; ++k) strip.Pixels[static_cast<size_t>(strip.Width + 3 * k + 1)] = kCentre[k];
  return strip;
}

// A 3 x 3 image, transparent but for its centre.
std::vector<uint32_t> Only(uint32_t Centre) {
  std::vector<uint32_t> p(9, 0);
  p[4] = Centre;
  return p;
}

} // namespace

TEST(ButtonGlyph, EachStateTakesItsImageOrTheUpImage) {
  struct {
    int NumGlyphs;
    TButtonState State;
    std::vector<uint32_t> Expected;
  } cases[] = {
      {1, TButtonState::bsUp, Only(kCentre[0])},
      {1, TButtonState::bsDown, Only(kCentre[0])},
      {1, TButtonState::bsExclusive, Only(kCentre[0])},
      // Engraved: the dark pixel in shadow, its highlight below and to the right.
      {1, TButtonState::bsDisabled, {0, 0, 0, 0, kShadow, 0, 0, 0, kWhite}},
      {2, TButtonState::bsDisabled, Only(kCentre[1])},
      {2, TButtonState::bsDown, Only(kCentre[0])},
      {3, TButtonState::bsDown, Only(kCentre[2])},
      {3, TButtonState::bsExclusive, Only(kCentre[0])},
      {4, TButtonState::bsExclusive, Only(kCentre[3])},
      {0, TButtonState::bsUp, {0, 0, 0, 0, kCentre[0], 0, 0, 0, 0}}, // NumGlyphs 0 counts as 1
  };
  for (const auto& c : cases) {
    TPixelImage strip = Strip(c.NumGlyphs == 0 ? 1 : c.NumGlyphs);
    TPixelImage image = GlyphImage(strip, c.NumGlyphs, c.State);
    EXPECT_EQ(image.Width, 3) << c.NumGlyphs << "/" << static_cast<int>(c.State);
    EXPECT_EQ(image.Pixels, c.Expected) << c.NumGlyphs << "/" << static_cast<int>(c.State);
    EXPECT_TRUE(image.HasAlpha);
  }
}

TEST(ButtonGlyph, APictureWithItsOwnAlphaKeepsItsCornerColour) {
  TPixelImage image = Strip(1);
  image.Pixels[6] = 0x80808000u; // the bottom-left pixel is translucent: no colour key
  KeyOutCornerColour(image);
  EXPECT_EQ(image.Pixels[0], kOlive);
}
