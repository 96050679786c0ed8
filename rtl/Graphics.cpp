// Colours, character sets, fonts and pictures.
#include "rtl/Graphics.h"

#include <cstring>
#include <iterator>
#include <typeinfo>

#include "rtl/BitmapDecoder.h"
#include "rtl/ByteOrder.h"
#include "rtl/Math.h"

namespace qnl {

const TIdentMap& ColorIdents() {
  static const TIdentMap map{{
      {"clBlack", clBlack},
      {"clMaroon", clMaroon},
      {"clGreen", clGreen},
      {"clOlive", clOlive},
      {"clNavy", clNavy},
      {"clPurple", clPurple},
      {"clTeal", clTeal},
      {"clGray", clGray},
      {"clSilver", clSilver},
      {"clRed", clRed},
      {"clLime", clLime},
      {"clYellow", clYellow},
      {"clBlue", clBlue},
      {"clFuchsia", clFuchsia},
      {"clAqua", clAqua},
      {"clWhite", clWhite},
      {"clLtGray", clLtGray},
      {"clDkGray", clDkGray},
      {"clScrollBar", clScrollBar},
      {"clBackground", clBackground},
      {"clActiveCaption", clActiveCaption},
      {"clInactiveCaption", clInactiveCaption},
      {"clMenu", clMenu},
      {"clWindow", clWindow},
      {"clWindowFrame", clWindowFrame},
      {"clMenuText", clMenuText},
      {"clWindowText", clWindowText},
      {"clCaptionText", clCaptionText},
      {"clActiveBorder", clActiveBorder},
      {"clInactiveBorder", clInactiveBorder},
      {"clAppWorkSpace", clAppWorkSpace},
      {"clHighlight", clHighlight},
      {"clHighlightText", clHighlightText},
      {"clBtnFace", clBtnFace},
      {"clBtnShadow", clBtnShadow},
      {"clGrayText", clGrayText},
      {"clBtnText", clBtnText},
      {"clInactiveCaptionText", clInactiveCaptionText},
      {"clBtnHighlight", clBtnHighlight},
      {"cl3DDkShadow", cl3DDkShadow},
      {"cl3DLight", cl3DLight},
      {"clInfoText", clInfoText},
      {"clInfoBk", clInfoBk},
      {"clNone", clNone},
      {"clDefault", clDefault},
  }};
  return map;
}

uint32_t ColorToRGB(TColor Color) {
  // The classic Windows scheme, so that forms look as they were designed.
  static const uint32_t systemColors[] = {0xC0C0C0, 0x808000, 0x800000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000,
                                          0x000000, 0x000000, 0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x800000,
                                          0xFFFFFF, 0xC0C0C0, 0x808080, 0x808080, 0x000000, 0xC0C0C0, 0xFFFFFF,
                                          0x000000, 0xC0C0C0, 0x000000, 0xE1FFFF};
  uint32_t c = static_cast<uint32_t>(Color);
  if (c & 0x80000000u) {
    uint32_t index = c & 0xFF;
    return index < std::size(systemColors) ? systemColors[index] : 0;
  }
  if (Color == clNone || Color == clDefault) return 0xFFFFFF;
  return c & 0xFFFFFF;
}

const TIdentMap& CharsetIdents() {
  static const TIdentMap map{{
      {"ANSI_CHARSET", ANSI_CHARSET},
      {"DEFAULT_CHARSET", DEFAULT_CHARSET},
      {"SYMBOL_CHARSET", SYMBOL_CHARSET},
      {"MAC_CHARSET", MAC_CHARSET},
      {"SHIFTJIS_CHARSET", SHIFTJIS_CHARSET},
      {"HANGEUL_CHARSET", HANGEUL_CHARSET},
      {"JOHAB_CHARSET", JOHAB_CHARSET},
      {"GB2312_CHARSET", GB2312_CHARSET},
      {"CHINESEBIG5_CHARSET", CHINESEBIG5_CHARSET},
      {"GREEK_CHARSET", GREEK_CHARSET},
      {"TURKISH_CHARSET", TURKISH_CHARSET},
      {"VIETNAMESE_CHARSET", VIETNAMESE_CHARSET},
      {"HEBREW_CHARSET", HEBREW_CHARSET},
      {"ARABIC_CHARSET", ARABIC_CHARSET},
      {"BALTIC_CHARSET", BALTIC_CHARSET},
      {"RUSSIAN_CHARSET", RUSSIAN_CHARSET},
      {"THAI_CHARSET", THAI_CHARSET},
      {"EASTEUROPE_CHARSET", EASTEUROPE_CHARSET},
      {"OEM_CHARSET", OEM_CHARSET},
  }};
  return map;
}

int CharsetToCodePage(TFontCharset Charset, int DefaultCodePage) {
  switch (Charset) {
    case ANSI_CHARSET: return 1252;
    case SHIFTJIS_CHARSET: return 932;
    case HANGEUL_CHARSET: return 949;
    case GB2312_CHARSET: return 936;
    case CHINESEBIG5_CHARSET: return 950;
    case GREEK_CHARSET: return 1253;
    case TURKISH_CHARSET: return 1254;
    case VIETNAMESE_CHARSET: return 1258;
    case HEBREW_CHARSET: return 1255;
    case ARABIC_CHARSET: return 1256;
    case BALTIC_CHARSET: return 1257;
    case RUSSIAN_CHARSET: return 1251;
    case THAI_CHARSET: return 874;
    case EASTEUROPE_CHARSET: return 1250;
    default: return DefaultCodePage;
  }
}

// ---- TFont ----

QNL_BEGIN_CLASS(TFont)
    .Prop("Charset", &C::Charset, &C::SetCharset)
    .WithIdents(CharsetIdents())
    .Prop("Color", &C::Color, &C::SetColor)
    .WithIdents(ColorIdents())
    .Prop("Height", &C::Height, &C::SetHeight)
    .Prop("Name", &C::Name, &C::SetName)
    .Prop("Pitch", &C::Pitch, &C::SetPitch)
    .Prop("Size", &C::Size, &C::SetSize)
    .Prop("Style", &C::Style, &C::SetStyle);
QNL_END_CLASS

TFont::TFont() = default;

void TFont::Assign(const TPersistent* Source) {
  if (auto* f = dynamic_cast<const TFont*>(Source)) {
    FCharset = f->FCharset;
    FColor = f->FColor;
    FHeight = f->FHeight;
    FName = f->FName;
    FPitch = f->FPitch;
    FStyle = f->FStyle;
    FPixelsPerInch = f->FPixelsPerInch;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TFont::Changed() {
  if (OnChange) OnChange(this);
}

void TFont::SetCharset(TFontCharset Value) {
  if (FCharset == Value) return;
  FCharset = Value;
  Changed();
}

void TFont::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  Changed();
}

void TFont::SetHeight(int32_t Value) {
  if (FHeight == Value) return;
  FHeight = Value;
  Changed();
}

int32_t TFont::Size() const { return -MulDiv(FHeight, 72, FPixelsPerInch); }

void TFont::SetSize(int32_t Value) { SetHeight(-MulDiv(Value, FPixelsPerInch, 72)); }

void TFont::SetName(const std::string& Value) {
  if (FName == Value || Value.empty()) return;
  FName = Value;
  Changed();
}

void TFont::SetPitch(TFontPitch Value) {
  if (FPitch == Value) return;
  FPitch = Value;
  Changed();
}

void TFont::SetStyle(TFontStyles Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Changed();
}

void TFont::SetPixelsPerInch(int32_t Value) {
  if (Value > 0) FPixelsPerInch = Value;
}

// ---- TGraphic / TBitmap ----

QNL_BEGIN_CLASS(TGraphic).Binary("Data", &C::WriteData, &C::ReadData);
QNL_END_CLASS

TGraphic* TGraphic::Clone() const {
  auto* g = new TGraphic();
  g->FData = FData;
  return g;
}

void TGraphic::Assign(const TPersistent* Source) {
  if (auto* g = dynamic_cast<const TGraphic*>(Source); g && typeid(*g) == typeid(*this)) {
    ReadData(g->WriteData());
    return;
  }
  TPersistent::Assign(Source);
}

QNL_BEGIN_CLASS(TBitmap);
QNL_END_CLASS

namespace {

[[noreturn]] void InvalidBitmap(const std::string& Why) { throw EInvalidGraphic("Bitmap image is not valid: " + Why); }

const TPixelImage& NoPixels() {
  static const TPixelImage none;
  return none;
}

} // namespace

void TBitmap::LoadFromBmp(const std::string& Bmp) {
  if (Bmp.empty()) {
    FBmp.clear();
    FWidth = FHeight = FBitCount = 0;
    FPixels.reset();
    return;
  }
  auto pixels = std::make_shared<const TPixelImage>(DecodeBmp(Bmp));
  // The decoder has checked that the header is there.
  FBitCount = ReadLE16(Bmp, ReadLE32(Bmp, 14) == 12 ? 24 : 28);
  FBmp = Bmp;
  FWidth = pixels->Width;
  FHeight = pixels->Height;
  FPixels = std::move(pixels);
}

const TPixelImage& TBitmap::Pixels() const { return FPixels ? *FPixels : NoPixels(); }

void TBitmap::ReadData(const std::string& Data) {
  if (Data.size() < 4) InvalidBitmap("its stream has no length");
  uint32_t size = ReadLE32(Data, 0);
  if (size > Data.size() - 4)
    InvalidBitmap("its stream announces " + std::to_string(size) + " bytes but holds " +
                  std::to_string(Data.size() - 4));
  LoadFromBmp(Data.substr(4, size));
}

std::string TBitmap::WriteData() const {
  std::string out;
  AppendLE32(out, static_cast<uint32_t>(FBmp.size()));
  return out + FBmp;
}

TGraphic* TBitmap::Clone() const {
  auto* b = new TBitmap();
  b->FBmp = FBmp;
  b->FWidth = FWidth;
  b->FHeight = FHeight;
  b->FBitCount = FBitCount;
  b->FPixels = FPixels;
  return b;
}

void TBitmap::Assign(const TPersistent* Source) {
  if (auto* b = dynamic_cast<const TBitmap*>(Source)) {
    LoadFromBmp(b->FBmp);
    return;
  }
  if (auto* p = dynamic_cast<const TPicture*>(Source)) {
    if (TBitmap* pb = p->Bitmap()) {
      LoadFromBmp(pb->Bmp());
      return;
    }
    if (!p->Graphic()) {
      LoadFromBmp("");
      return;
    }
  }
  TPersistent::Assign(Source);
}

// ---- TIcon ----

QNL_BEGIN_CLASS(TIcon);
QNL_END_CLASS

int32_t TIcon::Width() const { return Empty() ? 0 : Images()[BestIconImage(Images(), 32)].Width; }
int32_t TIcon::Height() const { return Empty() ? 0 : Images()[BestIconImage(Images(), 32)].Height; }

void TIcon::ReadData(const std::string& Data) {
  auto images = std::make_shared<std::vector<TIconImage>>();
  if (!Data.empty()) *images = DecodeIcon(Data);
  FData = Data;
  FImages = std::move(images);
}

TGraphic* TIcon::Clone() const {
  auto* i = new TIcon();
  i->FData = FData;
  i->FImages = FImages;
  return i;
}

// ---- TPicture ----

QNL_BEGIN_CLASS(TPicture).Binary("Data", &C::Data, &C::SetData);
QNL_END_CLASS

TPicture::~TPicture() { delete FGraphic; }

void TPicture::Clear() {
  delete FGraphic;
  FGraphic = nullptr;
  FClassName.clear();
}

void TPicture::Assign(const TPersistent* Source) {
  if (auto* p = dynamic_cast<const TPicture*>(Source)) {
    if (p == this) return;
    Clear();
    if (p->FGraphic) FGraphic = p->FGraphic->Clone();
    FClassName = p->FClassName;
    if (OnChange) OnChange(this);
    return;
  }
  if (auto* g = dynamic_cast<const TGraphic*>(Source)) {
    SetGraphic(g);
    return;
  }
  TPersistent::Assign(Source);
}

void TPicture::SetGraphic(const TGraphic* Value) {
  if (Value == FGraphic) return;
  TGraphic* copy = Value ? Value->Clone() : nullptr;
  Clear();
  FGraphic = copy;
  // A graphic class derived from ours stores itself as its base, the class a reader knows.
  if (copy)
    FClassName = dynamic_cast<TBitmap*>(copy) ? "TBitmap" : dynamic_cast<TIcon*>(copy) ? "TIcon" : copy->ClassName();
  if (OnChange) OnChange(this);
}

TBitmap* TPicture::Bitmap() const { return dynamic_cast<TBitmap*>(FGraphic); }

TIcon* TPicture::Icon() const { return dynamic_cast<TIcon*>(FGraphic); }

std::string TPicture::Data() const {
  if (!FGraphic) return std::string();
  std::string out(1, static_cast<char>(FClassName.size()));
  return out + FClassName + FGraphic->WriteData();
}

void TPicture::SetData(const std::string& Value) {
  if (Value.empty()) {
    Clear();
    if (OnChange) OnChange(this);
    return;
  }
  size_t nameLen = static_cast<uint8_t>(Value[0]);
  if (nameLen == 0 || 1 + nameLen > Value.size())
    throw EInvalidGraphic("Picture data is not valid: the graphic class name is missing or cut short");
  std::string className = Value.substr(1, nameLen);
  std::string rest = Value.substr(1 + nameLen);
  TGraphic* g;
  if (className == "TBitmap")
    g = new TBitmap();
  else if (className == "TIcon")
    g = new TIcon();
  else
    throw EInvalidGraphic("Picture data is not valid: graphic class " + className + " is not supported");
  try {
    g->ReadData(rest);
  } catch (...) {
    delete g;
    throw;
  }
  Clear();
  FGraphic = g;
  FClassName = className;
  if (OnChange) OnChange(this);
}

} // namespace qnl
