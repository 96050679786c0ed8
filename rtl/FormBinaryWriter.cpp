// Text form -> binary form resource, on top of the text form tokenizer.
#include "rtl/FormText.h"

#include <utility>
#include <vector>

#include "rtl/ByteOrder.h"
#include "rtl/FormTextParser.h"
#include "rtl/FormValues.h"
#include "rtl/Unicode.h"

namespace qnl {

namespace {

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
  void UInt(uint64_t v, int bytes) { AppendLE(Out, v, bytes); }
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

} // namespace

std::string ObjectTextToBinary(const std::string& Text, const TAnsiCodePage* Narrow) {
  TTextParser parser(Text);
  TBinaryWriter writer(parser, Narrow);
  writer.Out = std::string(kFormSignature);
  writer.Object(0);
  if (parser.Tok != TToken::Eof) parser.Error("End of file expected but " + parser.Describe() + " found");
  return writer.Out;
}

} // namespace qnl
