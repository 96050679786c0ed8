// The tokenizer of a text form. It follows Free Pascal's parser token by token, so that
// both produce the same bytes for the same text.
#include "rtl/FormTextParser.h"

#include <cstring>

#include "rtl/SysUtils.h"
#include "rtl/Unicode.h"

namespace qnl {

TToken TTextParser::Next() {
  SkipWhitespace();
  if (P >= S.size()) {
    Tok = TToken::Eof;
    Text.clear();
    return Tok;
  }
  char c = S[P];
  if (IsAlpha(c)) {
    Text = AlphaNum();
    Tok = TToken::Symbol;
  } else if (c == '$') {
    HexNumber();
  } else if (c == '-') {
    ++P;
    if (P < S.size() && IsDigit(S[P])) {
      Number();
      Text = "-" + Text;
    } else {
      Tok = TToken::Char;
      Ch = '-';
    }
  } else if (IsDigit(c)) {
    Number();
  } else if (c == '\'' || c == '#') {
    StringToken();
  } else {
    Tok = TToken::Char;
    Ch = c;
    Text = std::string(1, c);
    ++P;
  }
  return Tok;
}

void TTextParser::Expect(char c) {
  if (!IsChar(c)) Error(std::string("'") + c + "' expected but " + Describe() + " found");
}

void TTextParser::ExpectSymbol() {
  if (Tok != TToken::Symbol) Error("Identifier expected but " + Describe() + " found");
}

std::string TTextParser::Describe() const {
  switch (Tok) {
  case TToken::Eof: return "end of file";
  case TToken::Char: return std::string("'") + Ch + "'";
  case TToken::String:
  case TToken::WString: return "string";
  default: return "'" + Text + "'";
  }
}

std::string TTextParser::ComponentIdent() {
  while (P < S.size() && S[P] == '.') {
    ++P;
    if (P >= S.size() || !IsAlpha(S[P])) Error("Identifier expected after '.'");
    Text += "." + AlphaNum();
  }
  return Text;
}

std::string TTextParser::HexBytes() {
  std::string out;
  SkipWhitespace();
  while (P < S.size() && IsHex(S[P])) {
    int hi = HexValue(S[P++]);
    if (P >= S.size() || !IsHex(S[P])) Error("Wrong number of hexadecimal digits in binary value");
    out.push_back(static_cast<char>((hi << 4) | HexValue(S[P++])));
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
  while (P < S.size()) {
    char c = S[P];
    if (c == ' ' || c == '\t') {
      ++P;
    } else if (c == '\r' || c == '\n') {
      if (c == '\r') ++P;
      if (P < S.size() && S[P] == '\n') ++P;
      ++Line;
    } else {
      break;
    }
  }
}

std::string TTextParser::AlphaNum() {
  size_t start = P;
  while (P < S.size() && (IsAlpha(S[P]) || IsDigit(S[P]))) ++P;
  return S.substr(start, P - start);
}

void TTextParser::HexNumber() {
  size_t start = P++;
  while (P < S.size() && IsHex(S[P])) ++P;
  if (P == start + 1) Error("Invalid integer number: $");
  Text = S.substr(start, P - start);
  Tok = TToken::Integer;
}

void TTextParser::Number() {
  size_t start = P;
  while (P < S.size() && IsDigit(S[P])) ++P;
  Tok = TToken::Integer;
  if (P < S.size() && (S[P] == '.' || S[P] == 'e' || S[P] == 'E')) {
    Tok = TToken::Float;
    bool dotAllowed = true, expAllowed = true;
    while (P < S.size() && (S[P] == '.' || S[P] == 'e' || S[P] == 'E' || IsDigit(S[P]))) {
      if (S[P] == '.') {
        if (!dotAllowed) break;
        dotAllowed = false;
      } else if (S[P] == 'e' || S[P] == 'E') {
        if (!expAllowed) break;
        dotAllowed = expAllowed = false;
        ++P;
        if (P < S.size() && (S[P] == '+' || S[P] == '-')) ++P;
        if (P >= S.size() || !IsDigit(S[P])) Error("Invalid floating point number: " + S.substr(start, P - start));
      }
      ++P;
    }
  }
  Text = S.substr(start, P - start);
  // A suffix names single, date or currency; the value is written as extended all the same.
  if (P < S.size() && std::strchr("sSdDcC", S[P]) && S[P] != '\0') {
    ++P;
    Tok = TToken::Float;
  }
}

void TTextParser::StringToken() {
  Text.clear();
  Wide.clear();
  bool ascii = true;
  while (P < S.size() && (S[P] == '\'' || S[P] == '#')) {
    if (S[P] == '\'') {
      ++P;
      for (;;) {
        if (P >= S.size() || S[P] == '\r' || S[P] == '\n') Error("Unterminated string");
        if (S[P] == '\'') {
          ++P;
          if (P >= S.size() || S[P] != '\'') break;
        }
        if (static_cast<unsigned char>(S[P]) >= 0x80) {
          ascii = false;
          Utf8Char();
          continue;
        }
        Text.push_back(S[P]);
        Wide.push_back(static_cast<unsigned char>(S[P]));
        ++P;
      }
    } else {
      ++P;
      uint32_t code = 0;
      while (P < S.size() && IsDigit(S[P]) && code < 65535) code = code * 10 + static_cast<uint32_t>(S[P++] - '0');
      if (code > 65535) code = 0;
      if (code > 127) ascii = false;
      Wide.push_back(static_cast<char16_t>(code));
      Text.push_back(code < 256 ? static_cast<char>(code) : '\0');
    }
  }
  Tok = ascii ? TToken::String : TToken::WString;
}

void TTextParser::Utf8Char() {
  char32_t c;
  size_t length = DecodeUtf8(S, P, c);
  if (length == 0)
    Error("The text form is not UTF-8 (byte $" + IntToHex(static_cast<unsigned char>(S[P]), 2) +
          " in a string): save it as UTF-8, or write the character as #nnn with its Unicode number");
  Text.push_back('\0');
  AppendUtf16(Wide, c);
  P += length;
}

} // namespace qnl
