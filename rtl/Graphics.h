// Graphic values a form stores, independent of any windowing system: colours, character
// sets, fonts and pictures.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "rtl/Classes.h"
#include "rtl/IconDecoder.h"
#include "rtl/PixelImage.h"

namespace qnl {

// A colour: 0x00BBGGRR, or a system colour 0x80000000 | COLOR_xxx index, or clNone /
// clDefault. Stored in forms as an identifier (clBtnFace) or an integer.
using TColor = int32_t;

constexpr TColor SystemColor(int Index) { return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(Index)); }

constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The colour identifiers a form may store (clBlack ... clInfoBk, clNone, clDefault).
const TIdentMap& ColorIdents();
// The RGB value of a colour: a system colour through the classic Windows scheme
// (clBtnFace = 0xC0C0C0, clWindow = white ...), clNone/clDefault as white. 0x00BBGGRR.
uint32_t ColorToRGB(TColor Color);

// A font character set, stored as an identifier (DEFAULT_CHARSET) or an integer.
using TFontCharset = uint8_t;
constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset SYMBOL_CHARSET = 2;
constexpr TFontCharset MAC_CHARSET = 77;
constexpr TFontCharset SHIFTJIS_CHARSET = 128;
constexpr TFontCharset HANGEUL_CHARSET = 129;
constexpr TFontCharset JOHAB_CHARSET = 130;
constexpr TFontCharset GB2312_CHARSET = 134;
constexpr TFontCharset CHINESEBIG5_CHARSET = 136;
constexpr TFontCharset GREEK_CHARSET = 161;
constexpr TFontCharset TURKISH_CHARSET = 162;
constexpr TFontCharset VIETNAMESE_CHARSET = 163;
constexpr TFontCharset HEBREW_CHARSET = 177;
constexpr TFontCharset ARABIC_CHARSET = 178;
constexpr TFontCharset BALTIC_CHARSET = 186;
constexpr TFontCharset RUSSIAN_CHARSET = 204;
constexpr TFontCharset THAI_CHARSET = 222;
constexpr TFontCharset EASTEUROPE_CHARSET = 238;
constexpr TFontCharset OEM_CHARSET = 255;

const TIdentMap& CharsetIdents();
// The ANSI code page of a character set's text; DEFAULT_CHARSET (and any set without
// a code page of its own) gives DefaultCodePage, the machine's ANSI code page.
int CharsetToCodePage(TFontCharset Charset, int DefaultCodePage = 1252);

QNL_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)
QNL_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
using TFontStyles = TSet<TFontStyle>;

// A font description. Size (points) and Height (pixels, negative for the character
// height without internal leading) are two views of one value, related through
// PixelsPerInch: Height = -MulDiv(Size, PixelsPerInch, 72).
class TFont : public TPersistent {
  QNL_CLASS(TFont, TPersistent)
public:
  TFont();
  void Assign(const TPersistent* Source) override;

  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  int32_t Height() const { return FHeight; }
  void SetHeight(int32_t Value);
  int32_t Size() const;
  void SetSize(int32_t Value);
  const std::string& Name() const { return FName; }
  void SetName(const std::string& Value);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  int32_t PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int32_t Value); // keeps Height, so Size follows

  // Called after every change of the font's value.
  TNotifyEvent OnChange;

private:
  void Changed();
  TFontCharset FCharset = DEFAULT_CHARSET;
  TColor FColor = clWindowText;
  int32_t FHeight = -11;
  std::string FName = "MS Sans Serif";
  TFontPitch FPitch = fpDefault;
  TFontStyles FStyle;
  int32_t FPixelsPerInch = 96;
};

// A picture's graphic. The base keeps the bytes of its stream, published as Data (the way a
// graphic property such as a button's Glyph stores it).
class TGraphic : public TPersistent {
  QNL_CLASS(TGraphic, TPersistent)
public:
  virtual bool Empty() const { return FData.empty(); }
  virtual int32_t Width() const { return 0; }
  virtual int32_t Height() const { return 0; }
  // The graphic's own stream, as stored after the class name in a picture's Data.
  virtual void ReadData(const std::string& Data) { FData = Data; }
  virtual std::string WriteData() const { return FData; }
  // A copy of the same class and value.
  virtual TGraphic* Clone() const;
  void Assign(const TPersistent* Source) override;

protected:
  std::string FData;
};

// A Windows bitmap. Its value is a complete BMP file (starting "BM") or nothing, decoded
// when it is set; its stored stream is a 4-byte length followed by that file.
class TBitmap : public TGraphic {
  QNL_CLASS(TBitmap, TGraphic)
public:
  TBitmap() = default;
  bool Empty() const override { return FBmp.empty(); }
  int32_t Width() const override { return FWidth; }
  int32_t Height() const override { return FHeight; }
  int BitCount() const { return FBitCount; }
  // Takes a BMP file; EInvalidGraphic "Bitmap image is not valid: ..." when it is not one
  // that decodes, and the bitmap keeps its old value.
  void LoadFromBmp(const std::string& Bmp);
  const std::string& Bmp() const { return FBmp; }
  // The decoded pixels; empty when the bitmap is.
  const TPixelImage& Pixels() const;
  void ReadData(const std::string& Data) override;
  std::string WriteData() const override;
  TGraphic* Clone() const override;
  void Assign(const TPersistent* Source) override;

private:
  std::string FBmp;
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  int FBitCount = 0;
  std::shared_ptr<const TPixelImage> FPixels; // shared by copies: never changed once made
};

// A Windows icon: an ICO file of one or more images, decoded when it is set. Its stored
// stream is the ICO file itself. Width and Height are those of the image for 32 x 32.
class TIcon : public TGraphic {
  QNL_CLASS(TIcon, TGraphic)
public:
  TIcon() = default;
  bool Empty() const override { return FImages->empty(); }
  int32_t Width() const override;
  int32_t Height() const override;
  // EInvalidGraphic "Icon image is not valid: ..." when the bytes are not an icon that
  // decodes; the icon keeps its old value. No bytes make an empty icon.
  void ReadData(const std::string& Data) override;
  TGraphic* Clone() const override;
  const std::vector<TIconImage>& Images() const { return *FImages; }

private:
  std::shared_ptr<const std::vector<TIconImage>> FImages = std::make_shared<std::vector<TIconImage>>();
};

// A holder of one graphic. Its published binary Data is the graphic's class name as a
// short string followed by the graphic's stream; an empty Data is no picture. TBitmap and
// TIcon are the classes it reads; any other fails loudly rather than showing nothing.
class TPicture : public TPersistent {
  QNL_CLASS(TPicture, TPersistent)
public:
  TPicture() = default;
  ~TPicture() override;
  void Assign(const TPersistent* Source) override;

  TGraphic* Graphic() const { return FGraphic; }
  void SetGraphic(const TGraphic* Value); // copies
  // The bitmap, or nullptr when the picture holds another class or nothing.
  TBitmap* Bitmap() const;
  // The icon, or nullptr when the picture holds another class or nothing.
  TIcon* Icon() const;
  const std::string& GraphicClassName() const { return FClassName; }
  // True when the picture holds nothing to show.
  bool Empty() const { return !FGraphic || FGraphic->Empty(); }
  int32_t Width() const { return FGraphic ? FGraphic->Width() : 0; }
  int32_t Height() const { return FGraphic ? FGraphic->Height() : 0; }

  std::string Data() const;
  // EInvalidGraphic with a message naming what is wrong when the bytes are not a picture.
  void SetData(const std::string& Value);

  TNotifyEvent OnChange;

private:
  void Clear();
  TGraphic* FGraphic = nullptr;
  std::string FClassName;
};

} // namespace qnl
