// The tokens of a text form, shared by the form text parser and the binary writer built on it.
#pragma once

#include <cstdint>
#include <string>

#include "rtl/FormText.h"
#include "rtl/SysUtils.h"

namespace qnl {

enum class TToken { Eof, Symbol, String, WString, Integer, Float, Char };

// The tokens of a text form, which is UTF-8. Strings are byte strings unless a #nnn code
// above 127 makes them wide, as Free Pascal's parser decides, or they hold characters
// beyond ASCII written as such.
class TTextParser {
public:
  explicit TTextParser(const std::string& text) : S(text) {
    if (S.compare(0, 3, "\xEF\xBB\xBF") == 0) P = 3;
    Next();
  }

  TToken Tok = TToken::Eof;
  std::string Text;    // symbol, number or byte string
  std::u16string Wide; // the string widened (String and WString)
  char Ch = 0;         // TToken::Char

  [[noreturn]] void Error(const std::string& msg) const { ErrorAt(Line, msg); }
  [[noreturn]] static void ErrorAt(int line, const std::string& msg) {
    throw EParserError("Line " + std::to_string(line) + ": " + msg);
  }
  int LineNumber() const { return Line; }

  TToken Next();

  bool IsChar(char c) const { return Tok == TToken::Char && Ch == c; }
  bool SymbolIs(const char* s) const { return Tok == TToken::Symbol && SameText(Text, s); }
  void Expect(char c);
  void ExpectSymbol();
  std::string Describe() const;

  // Free Pascal's TokenComponentIdent: an identifier immediately followed by ".Name" parts.
  std::string ComponentIdent();

  // The hex digits of a binary value; the current token was '{'. Leaves '}' as the token.
  std::string HexBytes();

  int64_t Integer() const;

private:
  static bool IsAlpha(char c) { return c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
  static bool IsHex(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
  static int HexValue(char c) { return IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10; }

  void SkipWhitespace();
  std::string AlphaNum();
  void HexNumber();
  void Number();
  void StringToken();

  // A character beyond ASCII inside quotes. Any other encoding than UTF-8 is refused: its
  // bytes would reach the project as something other than what the author saw.
  void Utf8Char();

  const std::string& S;
  size_t P = 0;
  int Line = 1;
};

} // namespace qnl
