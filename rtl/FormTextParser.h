// The tokens of a text form, shared by the form text parser and the binary writer built on it.
#pragma once

#include <cstdint>
#include <string>

#include "rtl/FormText.h"
#include "rtl/SysUtils.h"

namespace qnl {

enum class TToken { toEof, toSymbol, toString, toWString, toInteger, toFloat, toChar };

// The tokens of a text form, which is UTF-8. Strings are byte strings unless a #nnn code
// above 127 makes them wide, as Free Pascal's parser decides, or they hold characters
// beyond ASCII written as such.
class TTextParser {
public:
  explicit TTextParser(const std::string& Source) : FS(Source) {
    if (FS.compare(0, 3, "\xEF\xBB\xBF") == 0) FP = 3;
    Next();
  }

  TToken Tok = TToken::toEof;
  std::string Text;    // symbol, number or byte string
  std::u16string Wide; // the string widened (String and WString)
  char Ch = 0;         // TToken::toChar

  [[noreturn]] void Error(const std::string& Msg) const { ErrorAt(FLine, Msg); }
  [[noreturn]] static void ErrorAt(int Line, const std::string& Msg) {
    throw EParserError("Line " + std::to_string(Line) + ": " + Msg);
  }
  int LineNumber() const { return FLine; }

  TToken Next();

  bool IsChar(char C) const { return Tok == TToken::toChar && Ch == C; }
  bool SymbolIs(const char* S) const { return Tok == TToken::toSymbol && SameText(Text, S); }
  void Expect(char C);
  void ExpectSymbol();
  std::string Describe() const;

  // Free Pascal's TokenComponentIdent: an identifier immediately followed by ".Name" parts.
  std::string ComponentIdent();

  // The hex digits of a binary value; the current token was '{'. Leaves '}' as the token.
  std::string HexBytes();

  int64_t Integer() const;

private:
  static bool IsAlpha(char C) { return C == '_' || (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z'); }
  static bool IsDigit(char C) { return C >= '0' && C <= '9'; }
  static bool IsHex(char C) { return IsDigit(C) || (C >= 'A' && C <= 'F') || (C >= 'a' && C <= 'f'); }
  static int HexValue(char C) { return IsDigit(C) ? C - '0' : (C | 0x20) - 'a' + 10; }

  void SkipWhitespace();
  std::string AlphaNum();
  void HexNumber();
  void Number();
  void StringToken();

  // A character beyond ASCII inside quotes. Any other encoding than UTF-8 is refused: its
  // bytes would reach the project as something other than what the author saw.
  void Utf8Char();

  const std::string& FS;
  size_t FP = 0;
  int FLine = 1;
};

} // namespace qnl
