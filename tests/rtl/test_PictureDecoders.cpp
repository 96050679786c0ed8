// BMP and ICO files decoded to pixels, and damaged ones rejected with what is wrong.
#include <gtest/gtest.h>

#include <cstdlib>

#include "rtl/BitmapDecoder.h"
#include "rtl/ByteOrder.h"
#include "rtl/IconDecoder.h"
#include "tests/support/MessageOf.h"
#include "tests/support/PictureFiles.h"
#include "tests/support/TestFiles.h"

using namespace qnl;
using namespace qnl::test;

TEST(BitmapDecoder, DecodesEveryDepthAndCompression) {
  for (const TBmpCase& c : BitmapCases()) {
    TPixelImage image = DecodeBmp(MakeBmpFile(c.Layout));
    ASSERT_EQ(image.Width, 3) << c.Label;
    ASSERT_EQ(image.Height, 2) << c.Label;
    EXPECT_EQ(image.Pixels, c.Expected) << c.Label;
    bool translucent = false;
    for (uint32_t p : c.Expected) translucent |= p < 0xFF000000u;
    EXPECT_EQ(image.HasAlpha, translucent) << c.Label;
  }
}

TEST(BitmapDecoder, DamagedHeadersAreRejectedWithTheFault) {
  TBmpLayout good = BitmapCases()[2].Layout; // 8 bits with a palette of 6
  std::string file = MakeBmpFile(good);
  auto patched = [&](size_t At, uint32_t Value, int Bytes = 4) {
    std::string f = file;
    WriteLE(&f[At], Value, Bytes);
    return f;
  };
  TBmpLayout rleTopDown = BitmapCases()[12].Layout;
  rleTopDown.TopDown = true;
  TBmpLayout fields = BitmapCases()[6].Layout;
  struct {
    const char* Label;
    std::string Bmp;
    const char* Message;
  } cases[] = {
      {"no signature", "XX" + file.substr(2), "Bitmap image is not valid: it does not start with \"BM\""},
      {"header size beyond the file", patched(14, 200000), "header size 200000 is not a bitmap header"},
      {"header cut short", file.substr(0, 30), "the 40-byte header is cut short"},
      {"no width", patched(18, 0), "its size 0 x 2 is empty or negative"},
      {"huge size", patched(22, 40000), "its size 3 x 40000 exceeds the largest picture shown"},
      {"pixels beyond the file", patched(22, 20000), "the pixel data is cut short: 80000 bytes needed, 8 present"},
      {"odd depth", patched(28, 7, 2), "7 bits per pixel with compression 0"},
      {"JPEG", patched(30, 4), "JPEG compression is not supported"},
      {"pixel offset beyond the file", patched(10, 5000), "the pixel data offset 5000 lies beyond the"},
      {"colour table cut short, no pixel offset",
       [&] {
         std::string f = patched(46, 256);
         WriteLE(&f[10], 0, 4);
         return f;
       }(),
       "the colour table of 256 entries is cut short"},
      {"top-down RLE", MakeBmpFile(rleTopDown), "a run-length compressed bitmap cannot be top-down"},
      {"masks cut short", MakeBmpFile(fields).substr(0, 60), "the colour masks are cut short"},
  };
  for (const auto& c : cases)
    EXPECT_NE(MessageOf([&] { DecodeBmp(c.Bmp); }).find(c.Message), std::string::npos)
        << c.Label << ": " << MessageOf([&] { DecodeBmp(c.Bmp); });
}

TEST(BitmapDecoder, LongRlePastTheEdgesStaysInsideThePicture) {
  // Runs longer than a row, moves past the top and a literal cut short by the data's end.
  TBmpLayout s = BitmapCases()[12].Layout;
  s.Pixels = std::string("\xff\1\0\2\xff\xff\0\0\0\xff\1", 11);
  TPixelImage image = DecodeBmp(MakeBmpFile(s));
  EXPECT_EQ(image.At(0, 1), 0xFF00FF00u); // the bottom row took the run's first three pixels
  EXPECT_EQ(image.At(2, 1), 0xFF00FF00u);
  EXPECT_EQ(image.At(0, 0), 0u);
}

namespace {

// A 4-bit 2 x 2 image whose mask leaves its top-left pixel out, and a 32-bit one with alpha.
std::string TwoImageIcon() {
  TBmpLayout small;
  small.Width = 2;
  small.Height = 2;
  small.BitCount = 4;
  small.Palette = {0xFF0000, 0x0000FF};
  small.Pixels = PackRows(2, 4, {0, 1, 1, 0});
  TBmpLayout large;
  large.Width = 4;
  large.Height = 4;
  large.BitCount = 32;
  large.Pixels = PackRows(4, 32, std::vector<uint32_t>(16, 0x8000FF00));
  return MakeIcoFile(
      {{2, 4, MakeIconDib(small, {1, 0, 0, 0})}, {4, 32, MakeIconDib(large, std::vector<uint32_t>(16, 1))}});
}

} // namespace

TEST(IconDecoder, DecodesEachImageWithItsMaskOrAlpha) {
  std::vector<TIconImage> images = DecodeIcon(TwoImageIcon());
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(images[0].Pixels.Pixels, (std::vector<uint32_t>{0, 0xFF0000FF, 0xFF0000FF, 0xFFFF0000}));
  // The image's own alpha wins over a mask that would hide every pixel.
  EXPECT_EQ(images[1].Pixels.At(3, 3), 0x8000FF00u);
  EXPECT_EQ(images[1].BitCount, 32);
  struct {
    int Size;
    size_t Best;
  } picks[] = {{1, 0}, {2, 0}, {3, 1}, {4, 1}, {48, 1}};
  for (auto p : picks) EXPECT_EQ(BestIconImage(images, p.Size), p.Best) << p.Size;
}

TEST(IconDecoder, ReadsTheIconFixture) {
  std::string ico = ReadFile(std::string(std::getenv("QNL_SOURCE")) + "/tests/links/fixtures/app.ico");
  std::vector<TIconImage> images = DecodeIcon(ico);
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(images[0].Width, 16);
  EXPECT_EQ(images[0].Pixels.At(15, 15), 0xFFFF8000u);
  EXPECT_EQ(images[1].Width, 32);
  EXPECT_EQ(images[1].Pixels.At(0, 0), 0xFF0040FFu);
}

TEST(IconDecoder, DamagedFilesAreRejectedWithTheFault) {
  std::string ico = TwoImageIcon();
  auto patched = [&](size_t At, uint32_t Value, int Bytes) {
    std::string f = ico;
    WriteLE(&f[At], Value, Bytes);
    return f;
  };
  struct {
    const char* Label;
    std::string Ico;
    const char* Message;
  } cases[] = {
      {"not an icon", "BM" + ico.substr(2), "Icon image is not valid: it does not start with an icon directory"},
      {"no images", patched(4, 0, 2), "it holds no image"},
      {"directory cut short", patched(4, 20, 2), "its directory of 20 images is cut short"},
      {"image beyond the file", patched(6 + 16 + 12, 100000, 4), "image 2: "},
      {"image header damaged", patched(38 + 14, 9, 2), "image 1: 9 bits per pixel"},
      {"PNG cut short", MakeIcoFile({{256, 32, std::string("\x89PNG\r\n\x1a\n", 8)}}), "its PNG header is cut short"},
  };
  for (const auto& c : cases)
    EXPECT_NE(MessageOf([&] { DecodeIcon(c.Ico); }).find(c.Message), std::string::npos)
        << c.Label << ": " << MessageOf([&] { DecodeIcon(c.Ico); });
}
