// Binary form resource -> text form.
#include "rtl/FormText.h"

#include "rtl/FormValues.h"
#include "rtl/SysUtils.h"
#include "rtl/Unicode.h"

namespace qnl {

namespace {

class TTextWriter {
public:
  TTextWriter(std::string_view Data, const TAnsiCodePage& CodePage) : FIn(Data), FCodePage(CodePage) {}
  std::string Out;

  void Run() {
    if (FIn.Remaining() < 4 || FIn.ReadBytes(4) != kFormSignature) throw EReadError("Invalid stream format");
    Object("", 0);
  }

private:
  TFormBytes FIn;
  const TAnsiCodePage& FCodePage; // the meaning of byte strings

  void Line(const std::string& S) { Out += S + "\n"; }

  // Characters beyond ASCII as #nnn, so that the text means the same to every reader.
  static std::string Quoted(const std::u16string& Chars) {
    std::string out;
    if (Chars.empty()) return "''";
    bool inString = false;
    for (char16_t w : Chars) {
      bool literal = w >= 32 && w < 127;
      if (literal != inString) {
        out += '\'';
        inString = literal;
      }
      if (!literal)
        out += "#" + std::to_string(w);
      else if (w == '\'')
        out += "''";
      else
        out.push_back(static_cast<char>(w));
    }
    if (inString) out += '\'';
    return out;
  }
  std::string ByteString(const std::string& S) const { return Quoted(FCodePage.ToWide(S)); }

  void Object(const std::string& Indent, int Depth) {
    if (Depth >= kMaxFormNesting) throw EReadError("Invalid stream format: objects nest too deeply");
    uint8_t flags = 0;
    int64_t childPos = 0;
    if ((FIn.PeekByte() & 0xF0) == 0xF0) {
      flags = FIn.ReadByte() & 0x0F;
      if (flags & 2) childPos = FIn.ReadIntegerOf(FIn.ReadValueType());
    }
    std::string className = FIn.ReadShortString();
    std::string name = FIn.ReadShortString();
    std::string head = Indent + ((flags & 1) ? "inherited " : (flags & 4) ? "inline " : "object ");
    if (!name.empty()) head += name + ": ";
    head += className;
    if (flags & 2) head += " [" + IntToStr(childPos) + "]";
    Line(head);
    Properties(Indent + "  ", Depth);
    while (FIn.PeekByte() != 0) Object(Indent + "  ", Depth + 1);
    FIn.ReadByte();
    Line(Indent + "end");
  }

  void Properties(const std::string& Indent, int Depth) {
    while (FIn.PeekByte() != 0) {
      Out += Indent + FIn.ReadShortString() + " = ";
      Value(FIn.ReadValueType(), Indent, Depth);
    }
    FIn.ReadByte();
  }

  void Value(TValueType Code, const std::string& Indent, int Depth) {
    if (Depth >= kMaxFormNesting) throw EReadError("Invalid stream format: values nest too deeply");
    switch (Code) {
      case TValueType::vaList: {
        if (FIn.PeekByte() == 0) {
          FIn.ReadByte();
          Line("()");
          return;
        }
        Line("(");
        while (FIn.PeekByte() != 0) {
          Out += Indent + "  ";
          Value(FIn.ReadValueType(), Indent + "  ", Depth + 1);
        }
        FIn.ReadByte();
        Line(Indent + ")");
        return;
      }
      case TValueType::vaInt8:
      case TValueType::vaInt16:
      case TValueType::vaInt32:
      case TValueType::vaInt64: Line(IntToStr(FIn.ReadIntegerOf(Code))); return;
      case TValueType::vaExtended: Line(ExtendedToDecimal(FIn.ReadExtendedBytes())); return;
      case TValueType::vaSingle: Line(ExtendedToDecimal(DoubleToExtended(FIn.ReadSingle())) + "s"); return;
      case TValueType::vaDate: Line(ExtendedToDecimal(DoubleToExtended(FIn.ReadDouble())) + "d"); return;
      case TValueType::vaCurrency: {
        int64_t v = static_cast<int64_t>(FIn.ReadUInt64());
        uint64_t mag = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
        std::string frac = std::to_string(mag % 10000);
        frac = std::string(4 - frac.size(), '0') + frac;
        while (frac.size() > 1 && frac.back() == '0') frac.pop_back();
        Line((v < 0 ? "-" : "") + std::to_string(mag / 10000) + "." + frac + "c");
        return;
      }
      case TValueType::vaString: Line(ByteString(FIn.ReadShortString())); return;
      case TValueType::vaLString: Line(ByteString(FIn.ReadLongString())); return;
      case TValueType::vaWString: Line(Quoted(FIn.ReadWideString())); return;
      case TValueType::vaIdent: Line(FIn.ReadShortString()); return;
      case TValueType::vaNull: Line("Null"); return;
      case TValueType::vaFalse: Line("False"); return;
      case TValueType::vaTrue: Line("True"); return;
      case TValueType::vaNil: Line("nil"); return;
      case TValueType::vaBinary: {
        std::string bytes = FIn.ReadLongString();
        Line("{");
        static const char hex[] = "0123456789ABCDEF";
        for (size_t i = 0; i < bytes.size(); i += 32) {
          std::string l = Indent + "  ";
          for (size_t j = i; j < bytes.size() && j < i + 32; ++j) {
            l.push_back(hex[static_cast<unsigned char>(bytes[j]) >> 4]);
            l.push_back(hex[static_cast<unsigned char>(bytes[j]) & 15]);
          }
          Line(l);
        }
        Line(Indent + "}");
        return;
      }
      case TValueType::vaSet: {
        std::string s = "[";
        bool first = true;
        for (std::string m; !(m = FIn.ReadShortString()).empty(); first = false) s += (first ? "" : ", ") + m;
        Line(s + "]");
        return;
      }
      case TValueType::vaCollection: {
        if (FIn.PeekByte() == 0) {
          FIn.ReadByte();
          Line("<>");
          return;
        }
        Line("<");
        while (FIn.PeekByte() != 0) {
          std::string item = Indent + "  item";
          TValueType t = FIn.ReadValueType();
          if (IsIntegerCode(t) || t == TValueType::vaInt64) {
            item += " [" + IntToStr(FIn.ReadIntegerOf(t)) + "]";
            t = FIn.ReadValueType();
          }
          if (t != TValueType::vaList)
            throw EReadError("Invalid stream format: a collection item must start with a list");
          Line(item);
          Properties(Indent + "    ", Depth + 1);
          Out += Indent + "  end";
          if (FIn.PeekByte() != 0) Out += "\n";
        }
        FIn.ReadByte();
        Line(">");
        return;
      }
    }
    throw EReadError("Invalid stream format: unknown value type " + std::to_string(static_cast<int>(Code)));
  }
};

} // namespace

std::string ObjectBinaryToText(const std::string& Binary, const TAnsiCodePage& CodePage) {
  TTextWriter writer(Binary, CodePage);
  writer.Run();
  return writer.Out;
}

} // namespace qnl
