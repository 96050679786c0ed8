// The images of a bitmap button's glyph: a strip of up to four images side by side (up,
// disabled, down, exclusive), whose bottom-left pixel's colour is the transparent colour.
#pragma once

#include <cstdint>

#include "rtl/PixelImage.h"

namespace qnl {

enum class TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// Every pixel of Image with the colour of its bottom-left pixel becomes transparent, as a
// bitmap drawn transparently shows; pixels already transparent stay so.
void KeyOutCornerColour(TPixelImage& Image);

// The image of State from a glyph strip of NumGlyphs (1..4, others count as 1) equal-width
// images, its corner colour keyed out. A state without its own image shows the up image,
// except Disabled, which is drawn from the up image as an engraving: each dark pixel
// becomes Shadow with Highlight one pixel below and to the right (0xAARRGGBB).
TPixelImage GlyphImage(const TPixelImage& Strip, int NumGlyphs, TButtonState State, uint32_t Shadow = 0xFF808080u,
                       uint32_t Highlight = 0xFFFFFFFFu);

} // namespace qnl
