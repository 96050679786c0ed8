// Binary form resource -> text form.
#include "rtl/FormText.h"

#include "rtl/FormValues.h"
#include "rtl/SysUtils.h"
#include "rtl/Unicode.h"

namespace qnl {

namespace {

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

std::string ObjectBinaryToText(const std::string& Binary, const TAnsiCodePage& CodePage) {
  TTextWriter writer(Binary, CodePage);
  writer.Run();
  return writer.Out;
}

} // namespace qnl
