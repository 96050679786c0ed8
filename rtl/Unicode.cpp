// UTF-8 and UTF-16 encoding and decoding.
#include "rtl/Unicode.h"

namespace qnl {

size_t DecodeUtf8(std::string_view Text, size_t Pos, char32_t& Char) {
  const auto byte = [&](size_t I) { return static_cast<unsigned char>(Text[I]); };
  unsigned char lead = byte(Pos);
  if (lead < 0x80) {
    Char = lead;
    return 1;
  }
  size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || Pos + length > Text.size()) return 0;
  char32_t c = lead & (0x7F >> length);
  for (size_t k = 1; k < length; ++k) {
    if ((byte(Pos + k) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (byte(Pos + k) & 0x3F);
  }
  static const char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return 0;
  Char = c;
  return length;
}

void AppendUtf8(std::string& Out, char32_t Char) {
  if (Char < 0x80) {
    Out.push_back(static_cast<char>(Char));
  } else if (Char < 0x800) {
    Out.push_back(static_cast<char>(0xC0 | (Char >> 6)));
    Out.push_back(static_cast<char>(0x80 | (Char & 0x3F)));
  } else if (Char < 0x10000) {
    Out.push_back(static_cast<char>(0xE0 | (Char >> 12)));
    Out.push_back(static_cast<char>(0x80 | ((Char >> 6) & 0x3F)));
    Out.push_back(static_cast<char>(0x80 | (Char & 0x3F)));
  } else {
    Out.push_back(static_cast<char>(0xF0 | (Char >> 18)));
    Out.push_back(static_cast<char>(0x80 | ((Char >> 12) & 0x3F)));
    Out.push_back(static_cast<char>(0x80 | ((Char >> 6) & 0x3F)));
    Out.push_back(static_cast<char>(0x80 | (Char & 0x3F)));
  }
}

void AppendUtf16(std::u16string& Out, char32_t Char) {
  if (Char < 0x10000) {
    Out.push_back(static_cast<char16_t>(Char));
    return;
  }
  Char -= 0x10000;
  Out.push_back(static_cast<char16_t>(0xD800 + (Char >> 10)));
  Out.push_back(static_cast<char16_t>(0xDC00 + (Char & 0x3FF)));
}

char32_t CodePointAt(std::u16string_view Text, size_t Pos, size_t& Length) {
  char32_t c = Text[Pos];
  Length = 1;
  if (c >= 0xD800 && c < 0xDC00 && Pos + 1 < Text.size() && Text[Pos + 1] >= 0xDC00 && Text[Pos + 1] < 0xE000) {
    Length = 2;
    return 0x10000 + ((c - 0xD800) << 10) + (Text[Pos + 1] - 0xDC00);
  }
  return c;
}

std::string Utf16ToUtf8(std::u16string_view Text) {
  std::string out;
  out.reserve(Text.size());
  for (size_t i = 0, length = 0; i < Text.size(); i += length) AppendUtf8(out, CodePointAt(Text, i, length));
  return out;
}

} // namespace qnl
