// Colours, character sets, fonts and pictures as forms store them.
#include <gtest/gtest.h>

#include "rtl/FormReader.h"
#include "rtl/FormText.h"
#include "rtl/Forms.h"
#include "rtl/Graphics.h"
#include "rtl/Streams.h"
#include "tests/support/MessageOf.h"
#include "tests/support/PictureFiles.h"

using namespace qnl;
using namespace qnl::test;

namespace {

void PutLE(std::string& S, size_t At, uint32_t V, int Bytes) {
  for (int i = 0; i < Bytes; ++i) S[At + i] = static_cast<char>((V >> (8 * i)) & 0xFF);
}

// A complete 24-bit BMP file of Width x Height pixels.
std::string MakeBmp(int Width, int Height) {
  int row = (Width * 3 + 3) / 4 * 4;
  std::string bmp(54 + row * Height, '\0');
  bmp[0] = 'B';
  bmp[1] = 'M';
  PutLE(bmp, 2, static_cast<uint32_t>(bmp.size()), 4);
  PutLE(bmp, 10, 54, 4);
  PutLE(bmp, 14, 40, 4);
  PutLE(bmp, 18, static_cast<uint32_t>(Width), 4);
  PutLE(bmp, 22, static_cast<uint32_t>(Height), 4);
  PutLE(bmp, 26, 1, 2);
  PutLE(bmp, 28, 24, 2);
  return bmp;
}

// A picture's Data: class name, then the bitmap's 4-byte length and file.
std::string PictureData(const std::string& Bmp, uint32_t Declared) {
  std::string data(1, '\7');
  data += "TBitmap";
  std::string len(4, '\0');
  PutLE(len, 0, Declared, 4);
  return data + len + Bmp;
}

} // namespace

TEST(Font, SizeAndHeightFollowPixelsPerInch) {
  TFont font;
  EXPECT_EQ(font.Height(), -11);
  EXPECT_EQ(font.Size(), 8);
  font.SetSize(10);
  EXPECT_EQ(font.Height(), -13);
  font.SetHeight(-16);
  EXPECT_EQ(font.Size(), 12);
  font.SetPixelsPerInch(120);
  EXPECT_EQ(font.Height(), -16); // the height stays, the size follows
  EXPECT_EQ(font.Size(), 10);
  font.SetSize(8);
  EXPECT_EQ(font.Height(), -13);
}

TEST(Font, AssignCopiesTheValueAndReportsTheChange) {
  TFont a, b;
  a.SetName("Arial");
  a.SetStyle({fsBold, fsItalic});
  a.SetColor(clRed);
  a.SetCharset(RUSSIAN_CHARSET);
  int changes = 0;
  b.OnChange = [&](TObject*) { ++changes; };
  b.Assign(&a);
  EXPECT_EQ(b.Name(), "Arial");
  EXPECT_TRUE(b.Style().Contains(fsBold) && b.Style().Contains(fsItalic));
  EXPECT_EQ(b.Color(), clRed);
  EXPECT_EQ(b.Charset(), RUSSIAN_CHARSET);
  EXPECT_EQ(changes, 1);
  TPicture notAFont;
  EXPECT_THROW(b.Assign(&notAFont), EConvertError);
  b.SetName("Arial"); // same value: no change
  EXPECT_EQ(changes, 1);
}

TEST(Font, PublishesWhatAFormStores) {
  const TClassInfo& ci = TFont::StaticClassInfo();
  for (const char* name : {"Charset", "Color", "Height", "Name", "Pitch", "Size", "Style"})
    EXPECT_NE(ci.FindProp(name), nullptr) << name;
  EXPECT_EQ(ci.FindProp("Style")->Kind, TTypeKind::tkSet);
  EXPECT_EQ(ci.FindProp("Color")->Idents, &ColorIdents());
  EXPECT_EQ(ci.FindProp("Charset")->Idents, &CharsetIdents());
}

TEST(Colors, IdentifiersMapToWindowsValues) {
  int64_t v = 0;
  ASSERT_TRUE(ColorIdents().IdentToInt("clbtnface", v));
  EXPECT_EQ(static_cast<uint32_t>(v), 0x8000000Fu);
  ASSERT_TRUE(ColorIdents().IdentToInt("clWindowText", v));
  EXPECT_EQ(static_cast<uint32_t>(v), 0x80000008u);
  ASSERT_TRUE(ColorIdents().IdentToInt("clNavy", v));
  EXPECT_EQ(v, 0x800000);
  std::string ident;
  ASSERT_TRUE(ColorIdents().IntToIdent(clWindow, ident));
  EXPECT_EQ(ident, "clWindow");
  EXPECT_FALSE(ColorIdents().IdentToInt("clPlaid", v));
  EXPECT_EQ(ColorToRGB(clBtnFace), 0xC0C0C0u);
  EXPECT_EQ(ColorToRGB(clWindow), 0xFFFFFFu);
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
}

TEST(Charsets, IdentifiersAndCodePages) {
  int64_t v = -1;
  ASSERT_TRUE(CharsetIdents().IdentToInt("DEFAULT_CHARSET", v));
  EXPECT_EQ(v, 1);
  ASSERT_TRUE(CharsetIdents().IdentToInt("ANSI_CHARSET", v));
  EXPECT_EQ(v, 0);
  ASSERT_TRUE(CharsetIdents().IdentToInt("EASTEUROPE_CHARSET", v));
  EXPECT_EQ(v, 238);
  EXPECT_EQ(CharsetToCodePage(ANSI_CHARSET), 1252);
  EXPECT_EQ(CharsetToCodePage(RUSSIAN_CHARSET), 1251);
  EXPECT_EQ(CharsetToCodePage(GREEK_CHARSET), 1253);
  EXPECT_EQ(CharsetToCodePage(SHIFTJIS_CHARSET), 932);
  EXPECT_EQ(CharsetToCodePage(DEFAULT_CHARSET, 1250), 1250);
}

TEST(Picture, BitmapDataRoundTrips) {
  std::string bmp = MakeBmp(3, 2);
  TPicture pic;
  pic.SetData(PictureData(bmp, static_cast<uint32_t>(bmp.size())));
  ASSERT_NE(pic.Bitmap(), nullptr);
  EXPECT_EQ(pic.GraphicClassName(), "TBitmap");
  EXPECT_EQ(pic.Width(), 3);
  EXPECT_EQ(pic.Height(), 2);
  EXPECT_EQ(pic.Bitmap()->BitCount(), 24);
  EXPECT_EQ(pic.Bitmap()->Bmp(), bmp);
  EXPECT_EQ(pic.Data(), PictureData(bmp, static_cast<uint32_t>(bmp.size())));
  TPicture copy;
  copy.Assign(&pic);
  EXPECT_EQ(copy.Data(), pic.Data());
  pic.SetData("");
  EXPECT_EQ(pic.Graphic(), nullptr);
  EXPECT_EQ(pic.Data(), "");
}

TEST(Picture, CorruptDataIsRejectedAndKeepsTheOldPicture) {
  std::string bmp = MakeBmp(2, 2);
  TPicture pic;
  pic.SetData(PictureData(bmp, static_cast<uint32_t>(bmp.size())));
  struct Case {
    const char* Label;
    std::string Data;
  } cases[] = {
      {"length beyond the data", PictureData(bmp, static_cast<uint32_t>(bmp.size()) + 1)},
      {"huge length", PictureData(bmp, 0xFFFFFFFFu)},
      {"no BM signature", PictureData("XX" + bmp.substr(2), static_cast<uint32_t>(bmp.size()))},
      {"cut header", PictureData(bmp.substr(0, 20), 20)},
      {"class name cut short", std::string("\20TBit")},
      {"no length", std::string("\7TBitmap\1\0", 10)},
  };
  for (const auto& c : cases) {
    EXPECT_THROW(pic.SetData(c.Data), EInvalidGraphic) << c.Label;
    EXPECT_EQ(pic.Width(), 2) << c.Label;
  }
  std::string badDepth = bmp;
  PutLE(badDepth, 28, 7, 2);
  EXPECT_THROW(pic.SetData(PictureData(badDepth, static_cast<uint32_t>(badDepth.size()))), EInvalidGraphic);
}

TEST(Picture, IconsLoadAndOtherClassesFailLoudly) {
  std::string ico =
      MakeIcoFile({{1, 24, MakeIconDib({1, 1, 24, 0, false, false, {}, {}, PackRows(1, 24, {0x102030})}, {0})}});
  TPicture pic;
  pic.SetData(std::string("\5TIcon") + ico);
  ASSERT_NE(pic.Icon(), nullptr);
  EXPECT_EQ(pic.Width(), 1);
  EXPECT_EQ(pic.Icon()->Images()[0].Pixels.At(0, 0), 0xFF102030u);
  EXPECT_EQ(pic.Data(), std::string("\5TIcon") + ico);
  EXPECT_EQ(MessageOf([&] { pic.SetData(std::string("\11TMetafile") + "xyz"); }),
            "Picture data is not valid: graphic class TMetafile is not supported");
  EXPECT_EQ(MessageOf([&] { pic.SetData(std::string("\5TIcon") + "xyz"); }), "Icon image is not valid: only 3 bytes");
  EXPECT_EQ(pic.Width(), 1); // the old picture stays
}

TEST(Picture, AFormsIconIsTheBareIconFileAndADamagedOneNamesItsProperty) {
  std::string ico =
      MakeIcoFile({{1, 24, MakeIconDib({1, 1, 24, 0, false, false, {}, {}, PackRows(1, 24, {0x102030})}, {0})}});
  auto load = [&](TCustomForm& Form, const std::string& Bytes) {
    TMemoryStream stream(ObjectTextToBinary("object F: TCustomForm\n  Icon.Data = {" + FormHex(Bytes) + "}\nend\n"));
    ReadRootComponent(stream, &Form);
  };
  TCustomForm form(nullptr);
  load(form, ico);
  ASSERT_EQ(form.Icon()->Images().size(), 1u);
  EXPECT_EQ(form.Icon()->Images()[0].Pixels.At(0, 0), 0xFF102030u);
  TCustomForm damaged(nullptr);
  EXPECT_EQ(MessageOf([&] { load(damaged, ico.substr(0, 10)); }),
            "Error reading F.Icon.Data: Icon image is not valid: its directory of 1 images is cut short");
}
