// A decoded picture as plain pixels, the meeting point of the picture decoders and the
// windowing system that shows them.
#pragma once

#include <cstdint>
#include <vector>

#include "rtl/Exceptions.h"

namespace qnl {

// Bytes that are not the picture they claim to be; the message says what is wrong.
QNL_EXCEPTION(EInvalidGraphic, Exception);

// The largest picture a decoder makes, so that a lying header cannot ask for gigabytes:
// 16 Mi pixels (64 MiB), far above any dialog picture.
constexpr int64_t MaxPicturePixels = int64_t{16} * 1024 * 1024;
constexpr int32_t MaxPictureSide = 32768;

// Width x Height pixels, top row first, each 0xAARRGGBB (the order of a 32-bit ARGB
// image). HasAlpha says whether any pixel is not fully opaque.
struct TPixelImage {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint32_t> Pixels;
  bool HasAlpha = false;

  uint32_t At(int32_t X, int32_t Y) const {
    return Pixels[static_cast<size_t>(Y) * static_cast<size_t>(Width) + static_cast<size_t>(X)];
  }
};

} // namespace qnl
