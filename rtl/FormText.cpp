// Text form <-> binary form resource. The text side follows Free Pascal's parser token by
// token, so that both produce the same bytes for the same text.
#include "rtl/FormText.h"

#include <cstring>
#include <utility>
#include <vector>

#include "rtl/FormValues.h"
#include "rtl/SysUtils.h"
#include "rtl/Unicode.h"

namespace qnl {

namespace {

// ---------------------------------------------------------------------------------------
// Text -> binary

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

  TToken Next() {
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

  bool IsChar(char c) const { return Tok == TToken::Char && Ch == c; }
  bool SymbolIs(const char* s) const { return Tok == TToken::Symbol && SameText(Text, s); }
  void Expect(char c) {
    if (!IsChar(c)) Error(std::string("'") + c + "' expected but " + Describe() + " found");
  }
  void ExpectSymbol() {
    if (Tok != TToken::Symbol) Error("Identifier expected but " + Describe() + " found");
  }
  std::string Describe() const {
    switch (Tok) {
    case TToken::Eof: return "end of file";
    case TToken::Char: return std::string("'") + Ch + "'";
    case TToken::String:
    case TToken::WString: return "string";
    default: return "'" + Text + "'";
    }
  }

  // Free Pascal's TokenComponentIdent: an identifier immediately followed by ".Name" parts.
  std::string ComponentIdent() {
    while (P < S.size() && S[P] == '.') {
      ++P;
      if (P >= S.size() || !IsAlpha(S[P])) Error("Identifier expected after '.'");
      Text += "." + AlphaNum();
    }
    return Text;
  }

  // The hex digits of a binary value; the current token was '{'. Leaves '}' as the token.
  std::string HexBytes() {
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

  int64_t Integer() const {
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

private:
  static bool IsAlpha(char c) { return c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
  static bool IsHex(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
  static int HexValue(char c) { return IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10; }

  void SkipWhitespace() {
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

  std::string AlphaNum() {
    size_t start = P;
    while (P < S.size() && (IsAlpha(S[P]) || IsDigit(S[P]))) ++P;
    return S.substr(start, P - start);
  }

  void HexNumber() {
    size_t start = P++;
    while (P < S.size() && IsHex(S[P])) ++P;
    if (P == start + 1) Error("Invalid integer number: $");
    Text = S.substr(start, P - start);
    Tok = TToken::Integer;
  }

  void Number() {
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

  void StringToken() {
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

  // A character beyond ASCII inside quotes. Any other encoding than UTF-8 is refused: its
  // bytes would reach the project as something other than what the author saw.
  void Utf8Char() {
    char32_t c;
    size_t length = DecodeUtf8(S, P, c);
    if (length == 0)
      Error("The text form is not UTF-8 (byte $" + IntToHex(static_cast<unsigned char>(S[P]), 2) +
            " in a string): save it as UTF-8, or write the character as #nnn with its Unicode number");
    Text.push_back('\0');
    AppendUtf16(Wide, c);
    P += length;
  }

  const std::string& S;
  size_t P = 0;
  int Line = 1;
};

class TBinaryWriter {
public:
  TBinaryWriter(TTextParser& parser, const TAnsiCodePage* narrow) : Ps(parser), FNarrow(narrow) {}
  std::string Out;

  void Object(int depth) {
    if (depth >= kMaxFormNesting) Ps.Error("Objects nest too deeply");
    uint8_t flags;
    if (Ps.SymbolIs("object")) flags = 0;
    else if (Ps.SymbolIs("inherited")) flags = 1;
    else if (Ps.SymbolIs("inline")) flags = 4;
    else Ps.Error("'object' expected but " + Ps.Describe() + " found");
    Ps.Next();
    Ps.ExpectSymbol();
    std::string name, type = Ps.Text;
    int64_t childPos = 0;
    Ps.Next();
    if (Ps.IsChar(':')) {
      Ps.Next();
      Ps.ExpectSymbol();
      name = type;
      type = Ps.Text;
      Ps.Next();
      if (Ps.IsChar('[')) {
        Ps.Next();
        if (Ps.Tok != TToken::Integer) Ps.Error("Integer expected but " + Ps.Describe() + " found");
        childPos = static_cast<int32_t>(Ps.Integer());
        Ps.Next();
        Ps.Expect(']');
        Ps.Next();
        flags |= 2;
      }
    }
    if (flags != 0) {
      Out.push_back(static_cast<char>(0xF0 | flags));
      if (flags & 2) Integer(childPos);
    }
    ShortString(type);
    ShortString(name);
    std::string outerObject = std::exchange(FObject, name.empty() ? type : name);
    while (!(Ps.SymbolIs("end") || Ps.SymbolIs("object") || Ps.SymbolIs("inherited") || Ps.SymbolIs("inline")))
      Property(depth);
    FObject = outerObject;
    Out.push_back(0);
    while (!Ps.SymbolIs("end")) Object(depth + 1);
    Ps.Next();
    Out.push_back(0);
  }

private:
  TTextParser& Ps;
  const TAnsiCodePage* FNarrow; // the code page wide strings become, if any
  std::string FObject;          // the object and properties being written, for messages
  std::vector<std::string> FProperties;
  int FValueLine = 0;

  void Code(TValueType t) { Out.push_back(static_cast<char>(t)); }
  void UInt(uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) Out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  }
  void ShortString(const std::string& s) {
    if (s.size() > 255) Ps.Error("Name longer than 255 characters: " + s.substr(0, 32) + "...");
    Out.push_back(static_cast<char>(s.size()));
    Out += s;
  }
  void Integer(int64_t v) {
    if (v >= -128 && v <= 127) {
      Code(TValueType::vaInt8);
      UInt(static_cast<uint64_t>(v), 1);
    } else if (v >= -32768 && v <= 32767) {
      Code(TValueType::vaInt16);
      UInt(static_cast<uint64_t>(v), 2);
    } else if (v >= INT32_MIN && v <= INT32_MAX) {
      Code(TValueType::vaInt32);
      UInt(static_cast<uint64_t>(v), 4);
    } else {
      Code(TValueType::vaInt64);
      UInt(static_cast<uint64_t>(v), 8);
    }
  }
  void ByteString(const std::string& s) {
    if (s.size() > 255) {
      Code(TValueType::vaLString);
      UInt(s.size(), 4);
    } else {
      Code(TValueType::vaString);
      Out.push_back(static_cast<char>(s.size()));
    }
    Out += s;
  }
  void WideString(std::u16string ws) {
    while (Ps.Next() == TToken::Char && Ps.Ch == '+') {
      Ps.Next();
      if (Ps.Tok != TToken::String && Ps.Tok != TToken::WString) Ps.Error("String expected but " + Ps.Describe() + " found");
      ws += Ps.Wide;
    }
    if (FNarrow) {
      ByteString(Narrowed(ws));
      return;
    }
    Code(TValueType::vaWString);
    UInt(ws.size(), 4);
    for (char16_t c : ws) UInt(c, 2);
  }
  std::string Narrowed(const std::u16string& ws) const {
    try {
      return FNarrow->FromWide(ws);
    } catch (const ECodePageError& e) {
      std::string where = FObject;
      for (const std::string& p : FProperties) where += "." + p;
      TTextParser::ErrorAt(FValueLine, where + ": " + e.Message());
    }
  }

  void Property(int depth) {
    Ps.ExpectSymbol();
    std::string name = Ps.Text;
    while (Ps.Next() == TToken::Char && Ps.Ch == '.') {
      Ps.Next();
      Ps.ExpectSymbol();
      name += "." + Ps.Text;
    }
    ShortString(name);
    Ps.Expect('=');
    Ps.Next();
    FProperties.push_back(name);
    Value(depth);
    FProperties.pop_back();
  }

  void Value(int depth) {
    if (depth >= kMaxFormNesting) Ps.Error("Values nest too deeply");
    FValueLine = Ps.LineNumber();
    switch (Ps.Tok) {
    case TToken::Integer:
      Integer(Ps.Integer());
      Ps.Next();
      return;
    case TToken::Float: {
      std::array<uint8_t, 10> ext;
      if (!DecimalToExtended(Ps.Text, ext)) Ps.Error("Invalid floating point number: " + Ps.Text);
      Code(TValueType::vaExtended);
      Out.append(reinterpret_cast<const char*>(ext.data()), ext.size());
      Ps.Next();
      return;
    }
    case TToken::String: {
      std::string s = Ps.Text;
      while (Ps.Next() == TToken::Char && Ps.Ch == '+') {
        Ps.Next();
        if (Ps.Tok == TToken::WString) {
          std::u16string left(s.begin(), s.end());
          for (auto& c : left) c = static_cast<char16_t>(static_cast<unsigned char>(c));
          WideString(left + Ps.Wide);
          return;
        }
        if (Ps.Tok != TToken::String) Ps.Error("String expected but " + Ps.Describe() + " found");
        s += Ps.Text;
      }
      ByteString(s);
      return;
    }
    case TToken::WString:
      WideString(Ps.Wide);
      return;
    case TToken::Symbol:
      if (SameText(Ps.Text, "True")) Code(TValueType::vaTrue);
      else if (SameText(Ps.Text, "False")) Code(TValueType::vaFalse);
      else if (SameText(Ps.Text, "nil")) Code(TValueType::vaNil);
      else {
        Code(TValueType::vaIdent);
        ShortString(Ps.ComponentIdent());
      }
      Ps.Next();
      return;
    case TToken::Char:
      switch (Ps.Ch) {
      case '[':
        Ps.Next();
        Code(TValueType::vaSet);
        if (!Ps.IsChar(']'))
          for (;;) {
            Ps.ExpectSymbol();
            ShortString(Ps.Text);
            Ps.Next();
            if (Ps.IsChar(']')) break;
            Ps.Expect(',');
            Ps.Next();
          }
        Out.push_back(0);
        Ps.Next();
        return;
      case '(':
        Ps.Next();
        Code(TValueType::vaList);
        while (!Ps.IsChar(')')) Value(depth + 1);
        Out.push_back(0);
        Ps.Next();
        return;
      case '<':
        Ps.Next();
        Code(TValueType::vaCollection);
        while (!Ps.IsChar('>')) {
          if (!Ps.SymbolIs("item")) Ps.Error("'item' expected but " + Ps.Describe() + " found");
          Ps.Next();
          if (Ps.IsChar('[')) { // the item's order value
            Ps.Next();
            if (Ps.Tok != TToken::Integer) Ps.Error("Integer expected but " + Ps.Describe() + " found");
            Integer(Ps.Integer());
            Ps.Next();
            Ps.Expect(']');
            Ps.Next();
          }
          Code(TValueType::vaList);
          while (!Ps.SymbolIs("end")) Property(depth + 1);
          Ps.Next();
          Out.push_back(0);
        }
        Out.push_back(0);
        Ps.Next();
        return;
      case '{': {
        std::string bytes = Ps.HexBytes();
        Code(TValueType::vaBinary);
        UInt(bytes.size(), 4);
        Out += bytes;
        Ps.Next();
        return;
      }
      default: break;
      }
      break;
    default: break;
    }
    Ps.Error("Invalid property value: " + Ps.Describe());
  }
};

// ---------------------------------------------------------------------------------------
// Binary -> text

class TTextWriter {
public:
  TTextWriter(std::string_view data, const TAnsiCodePage& codePage) : In(data), FCodePage(codePage) {}
  std::string Out;

  void Run() {
    if (In.Remaining() < 4 || In.ReadBytes(4) != kFormSignature) throw EReadError("Invalid stream format");
    Object("", 0);
  }

private:
  TFormBytes In;
  const TAnsiCodePage& FCodePage; // the meaning of byte strings

  void Line(const std::string& s) { Out += s + "\n"; }

  // Characters beyond ASCII as #nnn, so that the text means the same to every reader.
  static std::string Quoted(const std::u16string& chars) {
    std::string out;
    if (chars.empty()) return "''";
    bool inString = false;
    for (char16_t w : chars) {
      bool literal = w >= 32 && w < 127;
      if (literal != inString) {
        out += '\'';
        inString = literal;
      }
      if (!literal) out += "#" + std::to_string(w);
      else if (w == '\'') out += "''";
      else out.push_back(static_cast<char>(w));
    }
    if (inString) out += '\'';
    return out;
  }
  std::string ByteString(const std::string& s) const { return Quoted(FCodePage.ToWide(s)); }

  void Object(const std::string& indent, int depth) {
    if (depth >= kMaxFormNesting) throw EReadError("Invalid stream format: objects nest too deeply");
    uint8_t flags = 0;
    int64_t childPos = 0;
    if ((In.PeekByte() & 0xF0) == 0xF0) {
      flags = In.ReadByte() & 0x0F;
      if (flags & 2) childPos = In.ReadIntegerOf(In.ReadValueType());
    }
    std::string className = In.ReadShortString();
    std::string name = In.ReadShortString();
    std::string head = indent + ((flags & 1) ? "inherited " : (flags & 4) ? "inline " : "object ");
    if (!name.empty()) head += name + ": ";
    head += className;
    if (flags & 2) head += " [" + IntToStr(childPos) + "]";
    Line(head);
    Properties(indent + "  ", depth);
    while (In.PeekByte() != 0) Object(indent + "  ", depth + 1);
    In.ReadByte();
    Line(indent + "end");
  }

  void Properties(const std::string& indent, int depth) {
    while (In.PeekByte() != 0) {
      Out += indent + In.ReadShortString() + " = ";
      Value(In.ReadValueType(), indent, depth);
    }
    In.ReadByte();
  }

  void Value(TValueType code, const std::string& indent, int depth) {
    if (depth >= kMaxFormNesting) throw EReadError("Invalid stream format: values nest too deeply");
    switch (code) {
    case TValueType::vaList: {
      if (In.PeekByte() == 0) {
        In.ReadByte();
        Line("()");
        return;
      }
      Line("(");
      while (In.PeekByte() != 0) {
        Out += indent + "  ";
        Value(In.ReadValueType(), indent + "  ", depth + 1);
      }
      In.ReadByte();
      Line(indent + ")");
      return;
    }
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32:
    case TValueType::vaInt64: Line(IntToStr(In.ReadIntegerOf(code))); return;
    case TValueType::vaExtended: Line(ExtendedToDecimal(In.ReadExtendedBytes())); return;
    case TValueType::vaSingle: Line(ExtendedToDecimal(DoubleToExtended(In.ReadSingle())) + "s"); return;
    case TValueType::vaDate: Line(ExtendedToDecimal(DoubleToExtended(In.ReadDouble())) + "d"); return;
    case TValueType::vaCurrency: {
      int64_t v = static_cast<int64_t>(In.ReadUInt64());
      uint64_t mag = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
      std::string frac = std::to_string(mag % 10000);
      frac = std::string(4 - frac.size(), '0') + frac;
      while (frac.size() > 1 && frac.back() == '0') frac.pop_back();
      Line((v < 0 ? "-" : "") + std::to_string(mag / 10000) + "." + frac + "c");
      return;
    }
    case TValueType::vaString: Line(ByteString(In.ReadShortString())); return;
    case TValueType::vaLString: Line(ByteString(In.ReadLongString())); return;
    case TValueType::vaWString: Line(Quoted(In.ReadWideString())); return;
    case TValueType::vaIdent: Line(In.ReadShortString()); return;
    case TValueType::vaNull: Line("Null"); return;
    case TValueType::vaFalse: Line("False"); return;
    case TValueType::vaTrue: Line("True"); return;
    case TValueType::vaNil: Line("nil"); return;
    case TValueType::vaBinary: {
      std::string bytes = In.ReadLongString();
      Line("{");
      static const char hex[] = "0123456789ABCDEF";
      for (size_t i = 0; i < bytes.size(); i += 32) {
        std::string l = indent + "  ";
        for (size_t j = i; j < bytes.size() && j < i + 32; ++j) {
          l.push_back(hex[static_cast<unsigned char>(bytes[j]) >> 4]);
          l.push_back(hex[static_cast<unsigned char>(bytes[j]) & 15]);
        }
        Line(l);
      }
      Line(indent + "}");
      return;
    }
    case TValueType::vaSet: {
      std::string s = "[";
      bool first = true;
      for (std::string m; !(m = In.ReadShortString()).empty(); first = false) s += (first ? "" : ", ") + m;
      Line(s + "]");
      return;
    }
    case TValueType::vaCollection: {
      if (In.PeekByte() == 0) {
        In.ReadByte();
        Line("<>");
        return;
      }
      Line("<");
      while (In.PeekByte() != 0) {
        std::string item = indent + "  item";
        TValueType t = In.ReadValueType();
        if (IsIntegerCode(t) || t == TValueType::vaInt64) {
          item += " [" + IntToStr(In.ReadIntegerOf(t)) + "]";
          t = In.ReadValueType();
        }
        if (t != TValueType::vaList) throw EReadError("Invalid stream format: a collection item must start with a list");
        Line(item);
        Properties(indent + "    ", depth + 1);
        Out += indent + "  end";
        if (In.PeekByte() != 0) Out += "\n";
      }
      In.ReadByte();
      Line(">");
      return;
    }
    }
    throw EReadError("Invalid stream format: unknown value type " + std::to_string(static_cast<int>(code)));
  }
};

} // namespace

std::string ObjectTextToBinary(const std::string& Text, const TAnsiCodePage* Narrow) {
  TTextParser parser(Text);
  TBinaryWriter writer(parser, Narrow);
  writer.Out = std::string(kFormSignature);
  writer.Object(0);
  if (parser.Tok != TToken::Eof) parser.Error("End of file expected but " + parser.Describe() + " found");
  return writer.Out;
}

std::string ObjectBinaryToText(const std::string& Binary, const TAnsiCodePage& CodePage) {
  TTextWriter writer(Binary, CodePage);
  writer.Run();
  return writer.Out;
}

} // namespace qnl
