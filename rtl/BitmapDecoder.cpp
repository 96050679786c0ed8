// Decoding of device-independent bitmaps: header, colour table and the four pixel layouts.
#include "rtl/BitmapDecoder.h"

#include <algorithm>
#include <bit>
#include <optional>
#include <string>

#include "rtl/ByteOrder.h"

namespace qnl {

namespace {

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_RLE8 = 1;
constexpr uint32_t BI_RLE4 = 2;
constexpr uint32_t BI_BITFIELDS = 3;
constexpr uint32_t BI_ALPHABITFIELDS = 6;

// One colour channel of a bit-field pixel: where it lies and how wide it is.
struct TChannel {
  uint32_t Mask = 0;
  int Shift = 0;
  int Bits = 0;

  explicit TChannel(uint32_t M = 0) : Mask(M) {
    if (M == 0) return;
    Shift = std::countr_zero(M);
    Bits = std::bit_width(M >> Shift);
  }
  // The channel of Pixel scaled to 0..255.
  uint32_t Get(uint32_t Pixel) const {
    if (Bits == 0) return 0;
    uint32_t v = (Pixel & Mask) >> Shift;
    if (Bits >= 8) return v >> (Bits - 8);
    return v * 255 / ((1u << Bits) - 1);
  }
};

// A bitmap's header and colour table, checked against the bytes that hold them.
class TDib {
public:
  // PixelsAt, when known (a file's pixel offset), also ends a colour table written shorter
  // than its depth calls for, as core-header bitmaps have no count of their own.
  TDib(std::string_view Buf, size_t HeaderAt, const std::string& Prefix, bool Icon, size_t PixelsAt = 0)
      : FBuf(Buf), FPrefix(Prefix) {
    if (HeaderAt + 4 > Buf.size()) Fail("the bitmap header is missing");
    uint32_t size = ReadLE32(Buf, HeaderAt);
    if (size != 12 && (size < 16 || size > 1024))
      Fail("header size " + std::to_string(size) + " is not a bitmap header");
    if (HeaderAt + size > Buf.size()) Fail("the " + std::to_string(size) + "-byte header is cut short");
    FEntrySize = size == 12 ? 3 : 4;
    int32_t height;
    if (size == 12) {
      FWidth = ReadLE16(Buf, HeaderAt + 4);
      height = ReadLE16(Buf, HeaderAt + 6);
      FBitCount = ReadLE16(Buf, HeaderAt + 10);
    } else {
      FWidth = static_cast<int32_t>(ReadLE32(Buf, HeaderAt + 4));
      height = static_cast<int32_t>(ReadLE32(Buf, HeaderAt + 8));
      FBitCount = ReadLE16(Buf, HeaderAt + 14);
      if (size >= 20) FCompression = ReadLE32(Buf, HeaderAt + 16);
      if (size >= 36) FClrUsed = ReadLE32(Buf, HeaderAt + 32);
    }
    if (height == INT32_MIN) Fail("height " + std::to_string(height));
    FTopDown = height < 0;
    FHeight = FTopDown ? -height : height;
    if (Icon) FHeight /= 2; // the colour image and its mask
    if (FWidth <= 0 || FHeight <= 0)
      Fail("its size " + std::to_string(FWidth) + " x " + std::to_string(height) + " is empty or negative");
    if (FWidth > MaxPictureSide || FHeight > MaxPictureSide ||
        static_cast<int64_t>(FWidth) * FHeight > MaxPicturePixels)
      Fail("its size " + std::to_string(FWidth) + " x " + std::to_string(FHeight) +
           " exceeds the largest picture shown (" + std::to_string(MaxPicturePixels) + " pixels)");
    CheckDepth();
    if (FTopDown && (FCompression == BI_RLE4 || FCompression == BI_RLE8))
      Fail("a run-length compressed bitmap cannot be top-down");
    size_t at = HeaderAt + size;
    ReadMasks(HeaderAt, size, at);
    ReadColourTable(at, PixelsAt);
  }

  [[noreturn]] void Fail(const std::string& Why) const { throw EInvalidGraphic(FPrefix + Why); }

  // Decodes the pixels that start at PixelsAt; in an icon the AND mask follows them.
  TPixelImage Decode(size_t PixelsAt, bool Icon) const {
    TPixelImage image;
    image.Width = FWidth;
    image.Height = FHeight;
    image.Pixels.assign(static_cast<size_t>(FWidth) * static_cast<size_t>(FHeight), 0);
    if (PixelsAt > FBuf.size())
      Fail("the pixel data offset " + std::to_string(PixelsAt) + " lies beyond the " + std::to_string(FBuf.size()) +
           " bytes");
    if (FCompression == BI_RLE4 || FCompression == BI_RLE8) {
      if (Icon) Fail("an icon image cannot be run-length compressed");
      DecodeRle(FBuf.substr(PixelsAt), image);
    } else {
      DecodeRows(PixelsAt, image);
      if (Icon) ApplyMask(PixelsAt + RowBytes(FBitCount) * static_cast<size_t>(FHeight), image);
    }
    image.HasAlpha = std::any_of(image.Pixels.begin(), image.Pixels.end(), [](uint32_t P) { return P < 0xFF000000u; });
    return image;
  }

  // The colour table's offset end, where an icon's pixels start.
  size_t TableEnd() const { return FTableEnd; }

private:
  void CheckDepth() {
    auto bad = [&] {
      Fail(std::to_string(FBitCount) + " bits per pixel with compression " + std::to_string(FCompression));
    };
    switch (FCompression) {
      case BI_RGB:
        if (FBitCount != 1 && FBitCount != 4 && FBitCount != 8 && FBitCount != 16 && FBitCount != 24 && FBitCount != 32)
          bad();
        break;
      case BI_RLE8:
        if (FBitCount != 8) bad();
        break;
      case BI_RLE4:
        if (FBitCount != 4) bad();
        break;
      case BI_BITFIELDS:
      case BI_ALPHABITFIELDS:
        if (FBitCount != 16 && FBitCount != 32) bad();
        break;
      case 4: Fail("JPEG compression is not supported");
      case 5: Fail("PNG compression is not supported");
      default: Fail("compression " + std::to_string(FCompression) + " is not supported");
    }
  }

  void ReadMasks(size_t HeaderAt, uint32_t Size, size_t& At) {
    uint32_t r = 0, g = 0, b = 0, a = 0;
    if (FCompression == BI_BITFIELDS || FCompression == BI_ALPHABITFIELDS) {
      int count = FCompression == BI_ALPHABITFIELDS ? 4 : 3;
      size_t masksAt = HeaderAt + 40;
      if (Size < 40 + 4u * count) { // the masks follow a short header
        masksAt = At;
        At += 4u * count;
        if (At > FBuf.size()) Fail("the colour masks are cut short");
      }
      r = ReadLE32(FBuf, masksAt);
      g = ReadLE32(FBuf, masksAt + 4);
      b = ReadLE32(FBuf, masksAt + 8);
      if (count == 4 || Size >= 56) a = ReadLE32(FBuf, masksAt + 12);
    } else if (FBitCount == 16) {
      r = 0x7C00, g = 0x03E0, b = 0x001F;
    } else if (FBitCount == 32) {
      r = 0xFF0000, g = 0xFF00, b = 0xFF, a = 0xFF000000; // alpha kept only when some pixel uses it
    }
    FRed = TChannel(r), FGreen = TChannel(g), FBlue = TChannel(b), FAlpha = TChannel(a);
  }

  void ReadColourTable(size_t At, size_t PixelsAt) {
    size_t entries = 0;
    if (FBitCount <= 8) {
      size_t full = size_t{1} << FBitCount;
      entries = (FClrUsed == 0 || FClrUsed > full) ? full : FClrUsed;
      if (PixelsAt > At) entries = std::min(entries, (PixelsAt - At) / FEntrySize);
    } else if (FClrUsed <= 256) {
      entries = FClrUsed; // an optional table for palette displays: skipped
    }
    if (At + entries * FEntrySize > FBuf.size())
      Fail("the colour table of " + std::to_string(entries) + " entries is cut short");
    if (FBitCount <= 8) {
      FPalette.assign(size_t{1} << FBitCount, 0xFF000000u); // indices past the table are black
      for (size_t i = 0; i < entries; ++i) {
        size_t e = At + i * FEntrySize;
        auto byte = [&](size_t K) { return static_cast<uint32_t>(static_cast<unsigned char>(FBuf[e + K])); };
        FPalette[i] = 0xFF000000u | byte(2) << 16 | byte(1) << 8 | byte(0);
      }
    }
    FTableEnd = At + entries * FEntrySize;
  }

  size_t RowBytes(int Bits) const { return (static_cast<size_t>(FWidth) * Bits + 31) / 32 * 4; }
  size_t OutRow(int32_t StoredRow) const {
    return static_cast<size_t>(FTopDown ? StoredRow : FHeight - 1 - StoredRow) * static_cast<size_t>(FWidth);
  }

  void DecodeRows(size_t PixelsAt, TPixelImage& Image) const {
    size_t stride = RowBytes(FBitCount);
    size_t need = stride * static_cast<size_t>(FHeight);
    if (need > FBuf.size() - PixelsAt)
      Fail("the pixel data is cut short: " + std::to_string(need) + " bytes needed, " +
           std::to_string(FBuf.size() - PixelsAt) + " present");
    bool alphaUsed = false;
    for (int32_t y = 0; y < FHeight; ++y) {
      auto* row = reinterpret_cast<const unsigned char*>(FBuf.data() + PixelsAt + stride * static_cast<size_t>(y));
      uint32_t* out = Image.Pixels.data() + OutRow(y);
      for (int32_t x = 0; x < FWidth; ++x) {
        if (FBitCount <= 8) {
          size_t bit = static_cast<size_t>(x) * FBitCount;
          unsigned index = (row[bit / 8] >> (8 - FBitCount - bit % 8)) & ((1u << FBitCount) - 1);
          out[x] = FPalette[index];
        } else if (FBitCount == 24) {
          const unsigned char* p = row + static_cast<size_t>(x) * 3;
          out[x] = 0xFF000000u | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
        } else {
          uint32_t v = FBitCount == 16 ? ReadLE16(row + static_cast<size_t>(x) * 2) : ReadLE32(row + x * size_t{4});
          uint32_t a = FAlpha.Get(v);
          alphaUsed |= a != 0;
          out[x] = a << 24 | FRed.Get(v) << 16 | FGreen.Get(v) << 8 | FBlue.Get(v);
        }
      }
    }
    // An alpha channel that is zero everywhere is unused padding, as in most 32-bit files.
    if ((FBitCount == 16 || FBitCount == 32) && !alphaUsed)
      for (uint32_t& p : Image.Pixels) p |= 0xFF000000u;
  }

  void ApplyMask(size_t MaskAt, TPixelImage& Image) const {
    bool ownAlpha = std::any_of(Image.Pixels.begin(), Image.Pixels.end(), [](uint32_t P) { return P < 0xFF000000u; });
    size_t stride = RowBytes(1);
    // Some writers leave the mask out of 32-bit images; such an image is as its pixels say.
    if (ownAlpha || MaskAt > FBuf.size() || stride * static_cast<size_t>(FHeight) > FBuf.size() - MaskAt) return;
    for (int32_t y = 0; y < FHeight; ++y) {
      auto* row = reinterpret_cast<const unsigned char*>(FBuf.data() + MaskAt + stride * static_cast<size_t>(y));
      uint32_t* out = Image.Pixels.data() + OutRow(y);
      for (int32_t x = 0; x < FWidth; ++x)
        if (row[x / 8] & (0x80 >> (x % 8))) out[x] = 0; // screen shows through
    }
  }

  void DecodeRle(std::string_view Data, TPixelImage& Image) const {
    const bool rle8 = FCompression == BI_RLE8;
    int32_t x = 0, y = 0; // y counts rows from the bottom
    auto put = [&](unsigned Index) {
      if (x < FWidth && y < FHeight) Image.Pixels[OutRow(y) + static_cast<size_t>(x)] = FPalette[Index];
      if (x < FWidth) ++x;
    };
    auto byte = [&](size_t At) { return static_cast<unsigned char>(Data[At]); };
    size_t pos = 0;
    while (pos + 1 < Data.size() && y < FHeight) {
      unsigned count = byte(pos), value = byte(pos + 1);
      pos += 2;
      if (count > 0) { // a run of one index (RLE8) or two alternating ones (RLE4)
        for (unsigned i = 0; i < count && x < FWidth; ++i) put(rle8 ? value : (i % 2 == 0 ? value >> 4 : value & 15));
        continue;
      }
      if (value == 0) { // end of line
        x = 0;
        ++y;
      } else if (value == 1) { // end of bitmap
        break;
      } else if (value == 2) { // move right and up
        if (pos + 1 >= Data.size()) break;
        x = std::min(FWidth, x + byte(pos));
        y = std::min(FHeight, y + byte(pos + 1));
        pos += 2;
      } else { // literal indices, padded to a 16-bit boundary
        size_t bytes = rle8 ? value : (value + 1) / 2;
        size_t have = std::min(bytes, Data.size() - pos);
        for (unsigned i = 0; i < value && (rle8 ? i : i / 2) < have; ++i) {
          unsigned b = byte(pos + (rle8 ? i : i / 2));
          put(rle8 ? b : (i % 2 == 0 ? b >> 4 : b & 15));
        }
        pos += (bytes + 1) & ~size_t{1};
      }
    }
  }

  std::string_view FBuf;
  std::string FPrefix;
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  bool FTopDown = false;
  int FBitCount = 0;
  uint32_t FCompression = BI_RGB;
  uint32_t FClrUsed = 0;
  size_t FEntrySize = 4;
  size_t FTableEnd = 0;
  TChannel FRed, FGreen, FBlue, FAlpha;
  std::vector<uint32_t> FPalette;
};

} // namespace

TPixelImage DecodeBmp(std::string_view Bmp) {
  const std::string prefix = "Bitmap image is not valid: ";
  if (Bmp.size() < 18) throw EInvalidGraphic(prefix + "only " + std::to_string(Bmp.size()) + " bytes");
  if (Bmp[0] != 'B' || Bmp[1] != 'M') throw EInvalidGraphic(prefix + "it does not start with \"BM\"");
  uint32_t offBits = ReadLE32(Bmp, 10);
  TDib dib(Bmp, 14, prefix, false, offBits);
  // A zero offset is written by some tools; the pixels then follow the colour table.
  return dib.Decode(offBits == 0 ? dib.TableEnd() : offBits, false);
}

TPixelImage DecodeIconDib(std::string_view Dib, const std::string& Prefix) {
  TDib dib(Dib, 0, Prefix, true);
  return dib.Decode(dib.TableEnd(), true);
}

} // namespace qnl
