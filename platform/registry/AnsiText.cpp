// Conversion between code page 1252, UTF-16 and UTF-8.
#include "platform/registry/AnsiText.h"

#include "rtl/AnsiCodePage.h"
#include "rtl/ByteOrder.h"
#include "rtl/Unicode.h"

namespace qnl {

std::u16string AnsiToWide(std::string_view Text) { return CodePage1252().ToWide(Text); }

std::string WideToAnsi(std::u16string_view Text) { return CodePage1252().FromWide(Text, TUnmappable::umDefaultChar); }

std::string AnsiToRegText(std::string_view Text) {
  std::string data;
  data.reserve(Text.size() * 2 + 2);
  AppendUtf16LE(data, AnsiToWide(Text));
  data.append(2, '\0');
  return data;
}

std::string RegTextToAnsi(std::string_view Data) {
  std::u16string wide = ReadUtf16LE(Data);
  if (!wide.empty() && wide.back() == 0) wide.pop_back();
  std::string text = WideToAnsi(wide);
  if (Data.size() % 2) text.push_back(Data.back());
  return text;
}

std::u16string Utf8ToWide(std::string_view Text) {
  std::u16string result;
  for (size_t i = 0; i < Text.size();) {
    char32_t c;
    size_t length = DecodeUtf8(Text, i, c);
    if (length == 0) { // a stray byte is taken as Latin-1 rather than refused
      c = static_cast<unsigned char>(Text[i]);
      length = 1;
    }
    AppendUtf16(result, c);
    i += length;
  }
  return result;
}

std::string WideToUtf8(std::u16string_view Text) { return Utf16ToUtf8(Text); }

} // namespace qnl
