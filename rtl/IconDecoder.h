// Windows icon files (ICO, and cursors of the same layout) to their images.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rtl/PixelImage.h"

namespace qnl {

// One image of an icon. A bitmap image is decoded (AND mask applied as alpha); a PNG
// image (the large images of newer icons) keeps its bytes for the windowing system,
// with the size its header gives.
struct TIconImage {
  int32_t Width = 0;
  int32_t Height = 0;
  int BitCount = 0;
  TPixelImage Pixels; // empty for a PNG image
  std::string Png;
};

// Every image of an ICO file, in file order. EInvalidGraphic "Icon image is not valid: ..."
// naming the image and the fault; an icon without images is not valid either.
std::vector<TIconImage> DecodeIcon(std::string_view Ico);

// The index of the image that best shows at Size x Size pixels: the smallest that is not
// smaller, else the largest; among equal sizes the most colours.
size_t BestIconImage(const std::vector<TIconImage>& Images, int Size);

} // namespace qnl
