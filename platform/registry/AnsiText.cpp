// Conversion between code page 1252, UTF-16 and UTF-8.
#include "platform/registry/AnsiText.h"

#include "rtl/AnsiCodePage.h"
#include "rtl/ByteOrder.h"
#include "rtl/Unicode.h"

namespace qnl {

std::u16string AnsiToWide(std::string_view text) { return CodePage1252().ToWide(text); }

std::string WideToAnsi(std::u16string_view text) { return CodePage1252().FromWide(text, TUnmappable::DefaultChar); }

std::string AnsiToRegText(std::string_view text) {
  std::string data;
  data.reserve(text.size() * 2 + 2);
  AppendUtf16LE(data, AnsiToWide(text));
  data.append(2, '\0');
  return data;
}

std::string RegTextToAnsi(std::string_view data) {
  std::u16string wide = ReadUtf16LE(data);
  if (!wide.empty() && wide.back() == 0) wide.pop_back();
  std::string text = WideToAnsi(wide);
  if (data.size() % 2) text.push_back(data.back());
  return text;
}

std::u16string Utf8ToWide(std::string_view text) {
  std::u16string result;
  for (size_t i = 0; i < text.size();) {
    char32_t c;
    size_t length = DecodeUtf8(text, i, c);
    if (length == 0) { // a stray byte is taken as Latin-1 rather than refused
      c = static_cast<unsigned char>(text[i]);
      length = 1;
    }
    AppendUtf16(result, c);
    i += length;
  }
  return result;
}

std::string WideToUtf8(std::u16string_view text) { return Utf16ToUtf8(text); }

} // namespace qnl
