// The tokenizer of a text form. It follows Free Pascal's parser token by token, so that
// both produce the same bytes for the same text.
#include "rtl/FormTextParser.h"

#include <cstring>

#include "rtl/SysUtils.h"
#include "rtl/Unicode.h"

namespace qnl {

TToken TTextParser::Next() {
  SkipWhitespace();
  if (FP >= FS.size()) {
    Tok = TToken::toEof;
    Text.clear();
    return Tok;
  }
  char c = FS[FP];
  if (IsAlpha(c)) {
    Text = AlphaNum();
    Tok = TToken::toSymbol;
  } else if (c == '$') {
    HexNumber();
  } else if (c == '-') {
    ++FP;
    if (FP < FS.size() && IsDigit(FS[FP])) {
      Number();
      Text = "-" + Text;
    } else {
      Tok = TToken::toChar;
      Ch = '-';
    }
  } else if (IsDigit(c)) {
    Number();
  } else if (c == '\'' || c == '#') {
    StringToken();
  } else {
    Tok = TToken::toChar;
    Ch = c;
    Text = std::string(1, c);
    ++FP;
  }
  return Tok;
}

void TTextParser::Expect(char C) {
  if (!IsChar(C)) Error(std::string("'") + C + "' expected but " + Describe() + " found");
}

void TTextParser::ExpectSymbol() {
  if (Tok != TToken::toSymbol) Error("Identifier expected but " + Describe() + " found");
}

std::string TTextParser::Describe() const {
  switch (Tok) {
    case TToken::toEof: return "end of file";
    case TToken::toChar: return std::string("'") + Ch + "'";
    case TToken::toString:
    case TToken::toWString: return "string";
    default: return "'" + Text + "'";
  }
}

std::string TTextParser::ComponentIdent() {
  while (FP < FS.size() && FS[FP] == '.') {
    ++FP;
    if (FP >= FS.size() || !IsAlpha(FS[FP])) Error("Identifier expected after '.'");
    Text += "." + AlphaNum();
  }
  return Text;
}

std::string TTextParser::HexBytes() {
  std::string out;
  SkipWhitespace();
  while (FP < FS.size() && IsHex(FS[FP])) {
    int hi = HexValue(FS[FP++]);
    if (FP >= FS.size() || !IsHex(FS[FP])) Error("Wrong number of hexadecimal digits in binary value");
    out.push_back(static_cast<char>((hi << 4) | HexValue(FS[FP++])));
    SkipWhitespace();
  }
  Next();
  Expect('}');
  return out;
}

int64_t TTextParser::Integer() const {
  if (Text[0] == '$') {
    uint64_t v = 0;
    size_t digits = 0;
    for (size_t i = 1; i < Text.size(); ++i) {
      if (v != 0 || Text[i] != '0') ++digits;
      v = (v << 4) | static_cast<uint64_t>(HexValue(Text[i]));
    }
    if (digits > 16) Error("Invalid integer number: " + Text);
    return static_cast<int64_t>(v);
  }
  bool negative = Text[0] == '-';
  uint64_t u = 0;
  for (size_t i = negative ? 1 : 0; i < Text.size(); ++i) {
    uint64_t digit = static_cast<uint64_t>(Text[i] - '0');
    if (u > (UINT64_MAX - digit) / 10) Error("Invalid integer number: " + Text);
    u = u * 10 + digit;
  }
  if (negative) {
    if (u > uint64_t(INT64_MAX) + 1) Error("Invalid integer number: " + Text);
    return static_cast<int64_t>(0 - u);
  }
  // Free Pascal's second chance: a number between 2^63 and 2^64 wraps around.
  return static_cast<int64_t>(u);
}

void TTextParser::SkipWhitespace() {
  while (FP < FS.size()) {
    char c = FS[FP];
    if (c == ' ' || c == '\t') {
      ++FP;
    } else if (c == '\r' || c == '\n') {
      if (c == '\r') ++FP;
      if (FP < FS.size() && FS[FP] == '\n') ++FP;
      ++FLine;
    } else {
      break;
    }
  }
}

std::string TTextParser::AlphaNum() {
  size_t start = FP;
  while (FP < FS.size() && (IsAlpha(FS[FP]) || IsDigit(FS[FP]))) ++FP;
  return FS.substr(start, FP - start);
}

void TTextParser::HexNumber() {
  size_t start = FP++;
  while (FP < FS.size() && IsHex(FS[FP])) ++FP;
  if (FP == start + 1) Error("Invalid integer number: $");
  Text = FS.substr(start, FP - start);
  Tok = TToken::toInteger;
}

void TTextParser::Number() {
  size_t start = FP;
  while (FP < FS.size() && IsDigit(FS[FP])) ++FP;
  Tok = TToken::toInteger;
  if (FP < FS.size() && (FS[FP] == '.' || FS[FP] == 'e' || FS[FP] == 'E')) {
    Tok = TToken::toFloat;
    bool dotAllowed = true, expAllowed = true;
    while (FP < FS.size() && (FS[FP] == '.' || FS[FP] == 'e' || FS[FP] == 'E' || IsDigit(FS[FP]))) {
      if (FS[FP] == '.') {
        if (!dotAllowed) break;
        dotAllowed = false;
      } else if (FS[FP] == 'e' || FS[FP] == 'E') {
        if (!expAllowed) break;
        dotAllowed = expAllowed = false;
        ++FP;
        if (FP < FS.size() && (FS[FP] == '+' || FS[FP] == '-')) ++FP;
        if (FP >= FS.size() || !IsDigit(FS[FP]))
          Error("Invalid floating point number: " + FS.substr(start, FP - start));
      }
      ++FP;
    }
  }
  Text = FS.substr(start, FP - start);
  // A suffix names single, date or currency; the value is written as extended all the same.
  if (FP < FS.size() && std::strchr("sSdDcC", FS[FP]) && FS[FP] != '\0') {
    ++FP;
    Tok = TToken::toFloat;
  }
}

void TTextParser::StringToken() {
  Text.clear();
  Wide.clear();
  bool ascii = true;
  while (FP < FS.size() && (FS[FP] == '\'' || FS[FP] == '#')) {
    if (FS[FP] == '\'') {
      ++FP;
      for (;;) {
        if (FP >= FS.size() || FS[FP] == '\r' || FS[FP] == '\n') Error("Unterminated string");
        if (FS[FP] == '\'') {
          ++FP;
          if (FP >= FS.size() || FS[FP] != '\'') break;
        }
        if (static_cast<unsigned char>(FS[FP]) >= 0x80) {
          ascii = false;
          Utf8Char();
          continue;
        }
        Text.push_back(FS[FP]);
        Wide.push_back(static_cast<unsigned char>(FS[FP]));
        ++FP;
      }
    } else {
      ++FP;
      uint32_t code = 0;
      while (FP < FS.size() && IsDigit(FS[FP]) && code < 65535)
        code = code * 10 + static_cast<uint32_t>(FS[FP++] - '0');
      if (code > 65535) code = 0;
      if (code > 127) ascii = false;
      Wide.push_back(static_cast<char16_t>(code));
      Text.push_back(code < 256 ? static_cast<char>(code) : '\0');
    }
  }
  Tok = ascii ? TToken::toString : TToken::toWString;
}

void TTextParser::Utf8Char() {
  char32_t c;
  size_t length = DecodeUtf8(FS, FP, c);
  if (length == 0)
    Error("The text form is not UTF-8 (byte $" + IntToHex(static_cast<unsigned char>(FS[FP]), 2) +
          " in a string): save it as UTF-8, or write the character as #nnn with its Unicode number");
  Text.push_back('\0');
  AppendUtf16(Wide, c);
  FP += length;
}

} // namespace qnl
