// Builders of BMP and ICO bytes for the tests.
#include "tests/support/PictureFiles.h"

#include "rtl/ByteOrder.h"

namespace qnl::test {

std::string PackRows(int Width, int BitCount, const std::vector<uint32_t>& TopFirst, bool TopDown) {
  size_t stride = (static_cast<size_t>(Width) * BitCount + 31) / 32 * 4;
  int height = static_cast<int>(TopFirst.size()) / Width;
  std::string out(stride * static_cast<size_t>(height), '\0');
  for (int row = 0; row < height; ++row) {
    size_t at = stride * static_cast<size_t>(TopDown ? row : height - 1 - row);
    for (int x = 0; x < Width; ++x) {
      uint32_t v = TopFirst[static_cast<size_t>(row * Width + x)];
      size_t bit = static_cast<size_t>(x) * BitCount;
      if (BitCount < 8)
        out[at + bit / 8] = static_cast<char>(out[at + bit / 8] | v << (8 - BitCount - bit % 8));
      else
        WriteLE(&out[at + bit / 8], v, BitCount / 8);
    }
  }
  return out;
}

std::string MakeDib(const TBmpLayout& S) {
  std::string out;
  if (S.CoreHeader) {
    AppendLE(out, 12, 4);
    AppendLE(out, static_cast<uint32_t>(S.Width), 2);
    AppendLE(out, static_cast<uint32_t>(S.Height), 2);
    AppendLE(out, 1, 2);
    AppendLE(out, static_cast<uint32_t>(S.BitCount), 2);
  } else {
    AppendLE(out, 40, 4);
    AppendLE(out, static_cast<uint32_t>(S.Width), 4);
    AppendLE(out, static_cast<uint32_t>(S.TopDown ? -S.Height : S.Height), 4);
    AppendLE(out, 1, 2);
    AppendLE(out, static_cast<uint32_t>(S.BitCount), 2);
    AppendLE(out, S.Compression, 4);
    AppendLE(out, static_cast<uint32_t>(S.Pixels.size()), 4);
    AppendLE(out, 2835, 4);
    AppendLE(out, 2835, 4);
    AppendLE(out, static_cast<uint32_t>(S.Palette.size()), 4);
    AppendLE(out, 0, 4);
  }
  for (uint32_t m : S.Masks) AppendLE(out, m, 4);
  for (uint32_t c : S.Palette) AppendLE(out, c, S.CoreHeader ? 3 : 4);
  return out + S.Pixels;
}

std::string MakeBmpFile(const TBmpLayout& S) {
  std::string dib = MakeDib(S);
  size_t pixelsAt = 14 + dib.size() - S.Pixels.size();
  std::string out = "BM";
  AppendLE(out, 14 + dib.size(), 4);
  AppendLE(out, 0, 4);
  AppendLE(out, pixelsAt, 4);
  return out + dib;
}

std::string MakeIconDib(TBmpLayout S, const std::vector<uint32_t>& Mask) {
  int height = S.Height;
  S.Height = 2 * height;
  std::string mask = PackRows(S.Width, 1, Mask);
  return MakeDib(S) + mask;
}

std::string MakeIcoFile(const std::vector<TIcoEntry>& Images) {
  std::string out;
  AppendLE(out, 0, 2);
  AppendLE(out, 1, 2);
  AppendLE(out, Images.size(), 2);
  size_t offset = 6 + 16 * Images.size();
  for (const TIcoEntry& i : Images) {
    out += static_cast<char>(i.Size >= 256 ? 0 : i.Size);
    out += static_cast<char>(i.Size >= 256 ? 0 : i.Size);
    out += std::string(2, '\0');
    AppendLE(out, 1, 2);
    AppendLE(out, static_cast<uint32_t>(i.BitCount), 2);
    AppendLE(out, i.Data.size(), 4);
    AppendLE(out, offset, 4);
    offset += i.Data.size();
  }
  for (const TIcoEntry& i : Images) out += i.Data;
  return out;
}

namespace {

// The 3 x 2 picture most cases show: red, lime, blue over white, black, yellow.
const std::vector<uint32_t> kColours{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0xFFFF00};

std::vector<uint32_t> Opaque(std::vector<uint32_t> Rgb) {
  for (uint32_t& p : Rgb) p |= 0xFF000000u;
  return Rgb;
}

TBmpLayout LayoutOf(int BitCount, const std::vector<uint32_t>& Values, uint32_t Compression = 0, bool TopDown = false) {
  TBmpLayout s;
  s.Width = 3;
  s.Height = 2;
  s.BitCount = BitCount;
  s.Compression = Compression;
  s.TopDown = TopDown;
  if (BitCount <= 8) s.Palette = kColours;
  s.Pixels = PackRows(3, BitCount, Values, TopDown);
  return s;
}

} // namespace

std::vector<TBmpCase> BitmapCases() {
  const std::vector<uint32_t> indices{0, 1, 2, 3, 4, 5};
  std::vector<TBmpCase> cases;
  TBmpLayout mono = LayoutOf(1, {1, 0, 1, 0, 1, 0});
  mono.Palette = {0x000000, 0xFFFFFF};
  cases.push_back({"1 bit", mono, Opaque({0xFFFFFF, 0, 0xFFFFFF, 0, 0xFFFFFF, 0})});
  cases.push_back({"4 bits", LayoutOf(4, indices), Opaque(kColours)});
  cases.push_back({"8 bits", LayoutOf(8, indices), Opaque(kColours)});
  cases.push_back({"8 bits top-down", LayoutOf(8, indices, 0, true), Opaque(kColours)});
  TBmpLayout core = LayoutOf(8, indices);
  core.CoreHeader = true;
  cases.push_back({"8 bits, core header", core, Opaque(kColours)});
  cases.push_back({"16 bits 5-5-5", LayoutOf(16, {0x7C00, 0x03E0, 0x001F, 0x7FFF, 0, 0x7FE0}), Opaque(kColours)});
  TBmpLayout rgb565 = LayoutOf(16, {0xF800, 0x07E0, 0x001F, 0xFFFF, 0, 0xFFE0}, 3);
  rgb565.Masks = {0xF800, 0x07E0, 0x001F};
  cases.push_back({"16 bits 5-6-5 bit fields", rgb565, Opaque(kColours)});
  cases.push_back({"24 bits", LayoutOf(24, kColours), Opaque(kColours)});
  cases.push_back({"24 bits top-down", LayoutOf(24, kColours, 0, true), Opaque(kColours)});
  cases.push_back({"32 bits, alpha unused", LayoutOf(32, kColours), Opaque(kColours)});
  std::vector<uint32_t> withAlpha = Opaque(kColours);
  withAlpha[0] = 0x80FF0000;
  withAlpha[4] = 0x00000000;
  cases.push_back({"32 bits with alpha", LayoutOf(32, withAlpha), withAlpha});
  TBmpLayout fields = LayoutOf(32, {0xFF000000, 0x00FF0000, 0x0000FF00, 0xFFFFFF00, 0, 0xFFFF0000}, 3);
  fields.Masks = {0xFF000000, 0x00FF0000, 0x0000FF00};
  cases.push_back({"32 bits RGBX bit fields", fields, Opaque(kColours)});
  // RLE8: the bottom row as literal indices (padded), end of line, the top row as runs.
  TBmpLayout rle8 = LayoutOf(8, indices, 1);
  rle8.Pixels = std::string("\0\3\3\4\5\0\0\0"
                            "\1\0\1\1\1\2\0\1",
                            16);
  cases.push_back({"RLE8", rle8, Opaque(kColours)});
  // RLE8 that moves to the top row's last pixel and ends: the rest stays transparent.
  TBmpLayout delta = LayoutOf(8, indices, 1);
  delta.Pixels = std::string("\0\2\2\1\1\2\0\1", 8);
  cases.push_back({"RLE8 with a move and an early end", delta, {0, 0, 0xFF0000FF, 0, 0, 0}});
  // RLE4: the bottom row literal (3, 4, 5), the top row one run alternating 0 and 1.
  TBmpLayout rle4 = LayoutOf(4, indices, 2);
  rle4.Pixels = std::string("\0\3\x34\x50\0\0\3\x01\0\1", 10);
  cases.push_back({"RLE4", rle4, Opaque({0xFF0000, 0x00FF00, 0xFF0000, 0xFFFFFF, 0x000000, 0xFFFF00})});
  return cases;
}

std::string FormHex(const std::string& Bytes) {
  std::string hex;
  for (unsigned char c : Bytes) hex += "0123456789ABCDEF"[c >> 4], hex += "0123456789ABCDEF"[c & 15];
  return hex;
}

std::string SizedBitmap(const std::string& Bmp) {
  std::string size(4, '\0');
  for (int i = 0; i < 4; ++i) size[size_t(i)] = char((Bmp.size() >> (8 * i)) & 0xFF);
  return size + Bmp;
}

} // namespace qnl::test
