// ANSI code pages; the built-in table of 1252.
#include "rtl/AnsiCodePage.h"

#include "rtl/SysUtils.h"
#include "rtl/Unicode.h"

namespace qnl {

void TAnsiCodePage::CannotHold(std::u16string_view Text, size_t Pos) const {
  size_t length;
  char32_t c = CodePointAt(Text, Pos, length);
  throw ECodePageError("The character U+" + IntToHex(static_cast<uint32_t>(c), 4) + " is not in the ANSI code page " +
                       std::to_string(Number()));
}

namespace {

// Bytes 0x80-0x9F; the five undefined ones map to the characters of the same number.
const char16_t k1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

class TCodePage1252 : public TAnsiCodePage {
public:
  int Number() const override { return 1252; }

  std::u16string ToWide(std::string_view Text) const override {
    std::u16string wide;
    wide.reserve(Text.size());
    for (unsigned char b : Text) wide.push_back(b >= 0x80 && b < 0xA0 ? k1252High[b - 0x80] : char16_t(b));
    return wide;
  }

  std::string FromWide(std::u16string_view Text, TUnmappable Unmappable) const override {
    std::string bytes;
    bytes.reserve(Text.size());
    for (size_t i = 0; i < Text.size(); ++i) {
      int byte = ByteOf(Text[i]);
      if (byte < 0 && Unmappable == TUnmappable::umRaise) CannotHold(Text, i);
      bytes.push_back(static_cast<char>(byte < 0 ? '?' : byte));
    }
    return bytes;
  }

private:
  static int ByteOf(char16_t C) {
    if (C < 0x80 || (C >= 0xA0 && C <= 0xFF)) return C;
    for (int i = 0; i < 32; ++i)
      if (k1252High[i] == C) return 0x80 + i;
    return -1;
  }
};

} // namespace

const TAnsiCodePage& CodePage1252() {
  static const TCodePage1252 codePage;
  return codePage;
}

} // namespace qnl
