// Windows device-independent bitmaps (BMP files and the images inside icons) to pixels.
#pragma once

#include <string_view>

#include "rtl/PixelImage.h"

namespace qnl {

// A BMP file ("BM", file header, info header, colour table, pixels): 1, 4, 8, 16, 24 and
// 32 bits per pixel, uncompressed, RLE4, RLE8 or bit fields, bottom-up or top-down.
// EInvalidGraphic "Bitmap image is not valid: ..." naming the fault. Every size and offset
// is checked against the bytes; pixels an RLE stream leaves out are transparent.
TPixelImage DecodeBmp(std::string_view Bmp);

// The bitmap of one icon image: an info header whose height counts the colour image and
// the 1-bit AND mask, the colour table, the colour pixels, then the mask. The mask makes
// pixels transparent unless the image carries its own alpha. Errors start with Prefix.
TPixelImage DecodeIconDib(std::string_view Dib, const std::string& Prefix);

} // namespace qnl
