// Conversion between code page 1252, UTF-16 and UTF-8.
#include "platform/registry/AnsiText.h"

#include <cstdint>

namespace qnl {

namespace {

// Code page 1252, bytes 0x80-0x9F; undefined bytes map to themselves.
const char16_t k1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t ByteToWide(unsigned char b) {
  return (b >= 0x80 && b < 0xA0) ? k1252High[b - 0x80] : char16_t(b);
}

char WideToByte(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return char(c);
  for (int i = 0; i < 32; ++i)
    if (k1252High[i] == c) return char(0x80 + i);
  return '?';
}

} // namespace

std::u16string AnsiToWide(std::string_view text) {
  std::u16string result;
  result.reserve(text.size());
  for (unsigned char b : text) result.push_back(ByteToWide(b));
  return result;
}

std::string WideToAnsi(std::u16string_view text) {
  std::string result;
  result.reserve(text.size());
  for (char16_t c : text) result.push_back(WideToByte(c));
  return result;
}

std::string AnsiToRegText(std::string_view text) {
  std::string data;
  data.reserve(text.size() * 2 + 2);
  for (char16_t c : AnsiToWide(text)) {
    data.push_back(char(c & 0xFF));
    data.push_back(char(c >> 8));
  }
  data.append(2, '\0');
  return data;
}

std::string RegTextToAnsi(std::string_view data) {
  std::u16string wide;
  size_t n = data.size() / 2;
  for (size_t i = 0; i < n; ++i)
    wide.push_back(char16_t((unsigned char)data[2 * i] | ((unsigned char)data[2 * i + 1] << 8)));
  if (!wide.empty() && wide.back() == 0) wide.pop_back();
  std::string text = WideToAnsi(wide);
  if (data.size() % 2) text.push_back(data.back());
  return text;
}

std::u16string Utf8ToWide(std::string_view text) {
  std::u16string result;
  for (size_t i = 0; i < text.size();) {
    unsigned char b = text[i];
    uint32_t cp = b;
    size_t extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    bool valid = b < 0x80 || (b >= 0xC2 && b <= 0xF4 && i + extra < text.size());
    if (valid && extra) {
      cp = b & (0x3F >> extra);
      for (size_t k = 1; k <= extra; ++k) {
        unsigned char c = text[i + k];
        if ((c & 0xC0) != 0x80) { valid = false; break; }
        cp = (cp << 6) | (c & 0x3F);
      }
    }
    if (!valid) { // a stray byte is taken as Latin-1 rather than refused
      result.push_back(char16_t(b));
      ++i;
      continue;
    }
    i += extra + 1;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      result.push_back(char16_t(0xD800 + (cp >> 10)));
      result.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
    } else {
      result.push_back(char16_t(cp));
    }
  }
  return result;
}

std::string WideToUtf8(std::u16string_view text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t cp = text[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
    if (cp < 0x80) {
      result.push_back(char(cp));
    } else if (cp < 0x800) {
      result.push_back(char(0xC0 | (cp >> 6)));
      result.push_back(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      result.push_back(char(0xE0 | (cp >> 12)));
      result.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
      result.push_back(char(0x80 | (cp & 0x3F)));
    } else {
      result.push_back(char(0xF0 | (cp >> 18)));
      result.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
      result.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
      result.push_back(char(0x80 | (cp & 0x3F)));
    }
  }
  return result;
}

} // namespace qnl
