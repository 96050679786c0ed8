// Hand-built BMP and ICO files for the picture tests, byte for byte as Windows lays them out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qnl::test {

// A device-independent bitmap to build.
struct TBmpLayout {
  int Width = 0;
  int Height = 0; // stored negative when TopDown
  int BitCount = 24;
  uint32_t Compression = 0;
  bool TopDown = false;
  bool CoreHeader = false;       // the 12-byte header of OS/2 bitmaps, 3-byte palette entries
  std::vector<uint32_t> Palette; // 0xRRGGBB; its size is written as the colours used
  std::vector<uint32_t> Masks;   // bit fields (R, G, B[, A]), written after the header
  std::string Pixels;            // as stored: padded rows or an RLE stream
};

// Pixel values (palette indices, 16-bit or 32-bit values, 0xRRGGBB for 24 bits), top row
// first, packed into padded rows in the order the bitmap stores them.
std::string PackRows(int Width, int BitCount, const std::vector<uint32_t>& TopFirst, bool TopDown = false);

// The header, masks, colour table and pixels, without the file header.
std::string MakeDib(const TBmpLayout& Layout);
// A whole BMP file: "BM", the file header, then MakeDib.
std::string MakeBmpFile(const TBmpLayout& Layout);

// An icon image: the DIB with its height doubled, then the AND mask (1 = transparent, top
// row first in Mask).
std::string MakeIconDib(TBmpLayout Layout, const std::vector<uint32_t>& Mask);
// An ICO file of the given images (DIB or PNG bytes) with their directory sizes.
struct TIcoEntry {
  int Size;
  int BitCount;
  std::string Data;
};
std::string MakeIcoFile(const std::vector<TIcoEntry>& Images);

// Bytes as a text form writes binary data between braces ("{0A1B...}" without the braces).
std::string FormHex(const std::string& Bytes);
// A bitmap's stream as a form stores it: its size in four bytes, then the BMP file.
std::string SizedBitmap(const std::string& Bmp);

// One bitmap of every layout the decoder reads, with the pixels it shows (0xAARRGGBB, top
// row first; 0 where an RLE stream leaves a pixel out).
struct TBmpCase {
  const char* Label;
  TBmpLayout Layout;
  std::vector<uint32_t> Expected;
};
std::vector<TBmpCase> BitmapCases();

} // namespace qnl::test
