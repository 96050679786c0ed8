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
  TBinaryWriter(TTextParser& Parser, const TAnsiCodePage* Narrow, TFormTextLines* Lines)
      : FPs(Parser), FNarrow(Narrow), FLines(Lines) {}
  std::string Out;

  void Object(int Depth) {
    if (Depth >= kMaxFormNesting) FPs.Error("Objects nest too deeply");
    uint8_t flags;
    if (FPs.SymbolIs("object"))
      flags = 0;
    else if (FPs.SymbolIs("inherited"))
      flags = 1;
    else if (FPs.SymbolIs("inline"))
      flags = 4;
    else
      FPs.Error("'object' expected but " + FPs.Describe() + " found");
    FPs.Next();
    FPs.ExpectSymbol();
    int line = FPs.LineNumber();
    std::string name, type = FPs.Text;
    int64_t childPos = 0;
    FPs.Next();
    if (FPs.IsChar(':')) {
      FPs.Next();
      FPs.ExpectSymbol();
      name = type;
      type = FPs.Text;
      FPs.Next();
      if (FPs.IsChar('[')) {
        FPs.Next();
        if (FPs.Tok != TToken::toInteger) FPs.Error("Integer expected but " + FPs.Describe() + " found");
        childPos = static_cast<int32_t>(FPs.Integer());
        FPs.Next();
        FPs.Expect(']');
        FPs.Next();
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
    if (FLines) FLines->Add(FObject, line);
    while (!(FPs.SymbolIs("end") || FPs.SymbolIs("object") || FPs.SymbolIs("inherited") || FPs.SymbolIs("inline")))
      Property(Depth);
    FObject = outerObject;
    Out.push_back(0);
    while (!FPs.SymbolIs("end")) Object(Depth + 1);
    FPs.Next();
    Out.push_back(0);
  }

private:
  TTextParser& FPs;
  const TAnsiCodePage* FNarrow; // the code page wide strings become, if any
  std::string FObject;          // the object and properties being written, for messages
  std::vector<std::string> FProperties;
  int FValueLine = 0;
  TFormTextLines* FLines;
  std::string FItemPath; // "Items[2]." inside a collection item, as the reader names its properties

  void Code(TValueType T) { Out.push_back(static_cast<char>(T)); }
  void UInt(uint64_t V, int Bytes) { AppendLE(Out, V, Bytes); }
  void ShortString(const std::string& S) {
    if (S.size() > 255) FPs.Error("Name longer than 255 characters: " + S.substr(0, 32) + "...");
    Out.push_back(static_cast<char>(S.size()));
    Out += S;
  }
  void Integer(int64_t V) {
    if (V >= -128 && V <= 127) {
      Code(TValueType::vaInt8);
      UInt(static_cast<uint64_t>(V), 1);
    } else if (V >= -32768 && V <= 32767) {
      Code(TValueType::vaInt16);
      UInt(static_cast<uint64_t>(V), 2);
    } else if (V >= INT32_MIN && V <= INT32_MAX) {
      Code(TValueType::vaInt32);
      UInt(static_cast<uint64_t>(V), 4);
    } else {
      Code(TValueType::vaInt64);
      UInt(static_cast<uint64_t>(V), 8);
    }
  }
  void ByteString(const std::string& S) {
    if (S.size() > 255) {
      Code(TValueType::vaLString);
      UInt(S.size(), 4);
    } else {
      Code(TValueType::vaString);
      Out.push_back(static_cast<char>(S.size()));
    }
    Out += S;
  }
  void WideString(std::u16string Ws) {
    while (FPs.Next() == TToken::toChar && FPs.Ch == '+') {
      FPs.Next();
      if (FPs.Tok != TToken::toString && FPs.Tok != TToken::toWString)
        FPs.Error("String expected but " + FPs.Describe() + " found");
      Ws += FPs.Wide;
    }
    if (FNarrow) {
      ByteString(Narrowed(Ws));
      return;
    }
    Code(TValueType::vaWString);
    UInt(Ws.size(), 4);
    for (char16_t c : Ws) UInt(c, 2);
  }
  std::string Narrowed(const std::u16string& Ws) const {
    try {
      return FNarrow->FromWide(Ws);
    } catch (const ECodePageError& e) {
      std::string where = FObject;
      for (const std::string& p : FProperties) where += "." + p;
      TTextParser::ErrorAt(FValueLine, where + ": " + e.Message());
    }
  }

  void Property(int Depth) {
    FPs.ExpectSymbol();
    int line = FPs.LineNumber();
    std::string name = FPs.Text;
    while (FPs.Next() == TToken::toChar && FPs.Ch == '.') {
      FPs.Next();
      FPs.ExpectSymbol();
      name += "." + FPs.Text;
    }
    ShortString(name);
    if (FLines) FLines->Add(FObject + "." + FItemPath + name, line);
    FPs.Expect('=');
    FPs.Next();
    FProperties.push_back(name);
    Value(Depth);
    FProperties.pop_back();
  }

  void Value(int Depth) {
    if (Depth >= kMaxFormNesting) FPs.Error("Values nest too deeply");
    FValueLine = FPs.LineNumber();
    switch (FPs.Tok) {
      case TToken::toInteger:
        Integer(FPs.Integer());
        FPs.Next();
        return;
      case TToken::toFloat: {
        std::array<uint8_t, 10> ext;
        if (!DecimalToExtended(FPs.Text, ext)) FPs.Error("Invalid floating point number: " + FPs.Text);
        Code(TValueType::vaExtended);
        Out.append(reinterpret_cast<const char*>(ext.data()), ext.size());
        FPs.Next();
        return;
      }
      case TToken::toString: {
        std::string s = FPs.Text;
        while (FPs.Next() == TToken::toChar && FPs.Ch == '+') {
          FPs.Next();
          if (FPs.Tok == TToken::toWString) {
            std::u16string left(s.begin(), s.end());
            for (auto& c : left) c = static_cast<char16_t>(static_cast<unsigned char>(c));
            WideString(left + FPs.Wide);
            return;
          }
          if (FPs.Tok != TToken::toString) FPs.Error("String expected but " + FPs.Describe() + " found");
          s += FPs.Text;
        }
        ByteString(s);
        return;
      }
      case TToken::toWString: WideString(FPs.Wide); return;
      case TToken::toSymbol:
        if (SameText(FPs.Text, "True"))
          Code(TValueType::vaTrue);
        else if (SameText(FPs.Text, "False"))
          Code(TValueType::vaFalse);
        else if (SameText(FPs.Text, "nil"))
          Code(TValueType::vaNil);
        else {
          Code(TValueType::vaIdent);
          ShortString(FPs.ComponentIdent());
        }
        FPs.Next();
        return;
      case TToken::toChar:
        switch (FPs.Ch) {
          case '[':
            FPs.Next();
            Code(TValueType::vaSet);
            if (!FPs.IsChar(']'))
              for (;;) {
                FPs.ExpectSymbol();
                ShortString(FPs.Text);
                FPs.Next();
                if (FPs.IsChar(']')) break;
                FPs.Expect(',');
                FPs.Next();
              }
            Out.push_back(0);
            FPs.Next();
            return;
          case '(':
            FPs.Next();
            Code(TValueType::vaList);
            while (!FPs.IsChar(')')) Value(Depth + 1);
            Out.push_back(0);
            FPs.Next();
            return;
          case '<':
            FPs.Next();
            Code(TValueType::vaCollection);
            for (int index = 0; !FPs.IsChar('>'); ++index) {
              if (!FPs.SymbolIs("item")) FPs.Error("'item' expected but " + FPs.Describe() + " found");
              FPs.Next();
              if (FPs.IsChar('[')) { // the item's order value
                FPs.Next();
                if (FPs.Tok != TToken::toInteger) FPs.Error("Integer expected but " + FPs.Describe() + " found");
                Integer(FPs.Integer());
                FPs.Next();
                FPs.Expect(']');
                FPs.Next();
              }
              Code(TValueType::vaList);
              std::string outerPath = FItemPath;
              FItemPath += FProperties.back() + "[" + std::to_string(index) + "].";
              while (!FPs.SymbolIs("end")) Property(Depth + 1);
              FItemPath = outerPath;
              FPs.Next();
              Out.push_back(0);
            }
            Out.push_back(0);
            FPs.Next();
            return;
          case '{': {
            std::string bytes = FPs.HexBytes();
            Code(TValueType::vaBinary);
            UInt(bytes.size(), 4);
            Out += bytes;
            FPs.Next();
            return;
          }
          default: break;
        }
        break;
      default: break;
    }
    FPs.Error("Invalid property value: " + FPs.Describe());
  }
};

} // namespace

namespace {

std::string TextToBinary(const std::string& Text, const TAnsiCodePage* Narrow, TFormTextLines* Lines) {
  TTextParser parser(Text);
  TBinaryWriter writer(parser, Narrow, Lines);
  writer.Out = std::string(kFormSignature);
  writer.Object(0);
  if (parser.Tok != TToken::toEof) parser.Error("End of file expected but " + parser.Describe() + " found");
  return writer.Out;
}

} // namespace

std::string ObjectTextToBinary(const std::string& Text, const TAnsiCodePage* Narrow) {
  return TextToBinary(Text, Narrow, nullptr);
}

std::string ObjectTextToBinary(const std::string& Text, const TAnsiCodePage* Narrow, TFormTextLines& Lines) {
  return TextToBinary(Text, Narrow, &Lines);
}

// The first mention wins: a property written twice is found where it was first written.
void TFormTextLines::Add(const std::string& Key, int Line) { FLines.emplace(UpperCase(Key), Line); }

int TFormTextLines::LineOf(const std::string& Component, const std::string& Path) const {
  if (!Path.empty())
    if (auto it = FLines.find(UpperCase(Component + "." + Path)); it != FLines.end()) return it->second;
  auto it = FLines.find(UpperCase(Component));
  return it == FLines.end() ? 0 : it->second;
}

} // namespace qnl
