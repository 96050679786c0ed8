// Wine's registry text format: parsing and writing.
#include "platform/registry/HiveText.h"

#include <cstdio>

#include "platform/registry/AnsiText.h"
#include "platform/registry/Registry.h"
#include "rtl/ByteOrder.h"

namespace qnl {

namespace {

bool IsHex(char C) { return (C >= '0' && C <= '9') || (C >= 'a' && C <= 'f') || (C >= 'A' && C <= 'F'); }
int HexVal(char C) { return C <= '9' ? C - '0' : (C | 0x20) - 'a' + 10; }
bool IsSpace(char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\v' || C == '\f'; }

// Reads the hive line by line, keeping the number of the current line for messages.
class TLineReader {
public:
  TLineReader(std::string_view Text, const std::string& FileName) : FText(Text), FFileName(FileName) {}

  bool Next(std::string_view& Line) {
    if (FPos >= FText.size()) return false;
    size_t end = FText.find('\n', FPos);
    if (end == std::string_view::npos) end = FText.size();
    Line = FText.substr(FPos, end - FPos);
    if (!Line.empty() && Line.back() == '\r') Line.remove_suffix(1);
    FPos = end + 1;
    ++FLine;
    return true;
  }

  [[noreturn]] void Fail(const std::string& What) const {
    throw EHiveDamaged("Damaged registry file \"" + FFileName + "\", line " + std::to_string(FLine) + ": " + What);
  }

private:
  std::string_view FText;
  const std::string& FFileName;
  size_t FPos = 0;
  int FLine = 0;
};

// Unescapes text up to `endChar`; returns the position after it, or npos when it is missing.
size_t ParseRegString(std::string_view S, size_t Pos, char EndChar, std::u16string& Out) {
  static const char kEscapes[] = "abtnvfre";
  static const char16_t kCodes[] = {7, 8, 9, 10, 11, 12, 13, 27};
  while (Pos < S.size() && S[Pos] != EndChar) {
    if (S[Pos] != '\\') {
      // Wine writes only ASCII; other bytes are taken as UTF-8, one character at a time.
      size_t start = Pos++;
      while (Pos < S.size() && ((unsigned char)S[Pos] & 0xC0) == 0x80 && ((unsigned char)S[start] & 0x80)) ++Pos;
      Out += Utf8ToWide(S.substr(start, Pos - start));
      continue;
    }
    if (++Pos >= S.size()) return std::string_view::npos;
    char c = S[Pos];
    if (const char* e = std::char_traits<char>::find(kEscapes, 8, c)) {
      Out.push_back(kCodes[e - kEscapes]);
      ++Pos;
    } else if (c == 'x') {
      ++Pos;
      if (Pos >= S.size() || !IsHex(S[Pos])) {
        Out.push_back(u'x');
        continue;
      }
      char16_t v = 0;
      for (int i = 0; i < 4 && Pos < S.size() && IsHex(S[Pos]); ++i) v = char16_t(v * 16 + HexVal(S[Pos++]));
      Out.push_back(v);
    } else if (c >= '0' && c <= '7') {
      char16_t v = 0;
      for (int i = 0; i < 3 && Pos < S.size() && S[Pos] >= '0' && S[Pos] <= '7'; ++i)
        v = char16_t(v * 8 + (S[Pos++] - '0'));
      Out.push_back(v);
    } else {
      Out.push_back(char16_t((unsigned char)c));
      ++Pos;
    }
  }
  return Pos < S.size() ? Pos + 1 : std::string_view::npos;
}

std::string TrimRightSpaces(std::string_view S) {
  while (!S.empty() && IsSpace(S.back())) S.remove_suffix(1);
  return std::string(S);
}

std::string_view SkipSpaces(std::string_view S) {
  while (!S.empty() && IsSpace(S.front())) S.remove_prefix(1);
  return S;
}

void ExpectOnlySpaces(std::string_view Rest, const TLineReader& Reader, const char* What) {
  if (!SkipSpaces(Rest).empty()) Reader.Fail(std::string("unexpected text after ") + What);
}

std::string WideToRegData(const std::u16string& Text) {
  std::string data;
  AppendUtf16LE(data, Text);
  return data;
}

TKeyNode* ParseKeyLine(std::string_view Line, TKeyNode& Root, TLineReader& Reader) {
  std::u16string path;
  size_t end = ParseRegString(Line, 1, ']', path);
  if (end == std::string_view::npos) Reader.Fail("key name without closing \"]\"");
  std::string_view rest = SkipSpaces(Line.substr(end));
  uint64_t seconds = 0;
  bool haveTime = false;
  while (!rest.empty() && rest.front() >= '0' && rest.front() <= '9') {
    seconds = seconds * 10 + uint64_t(rest.front() - '0');
    if (seconds > 0xFFFFFFFFULL) Reader.Fail("key time stamp out of range");
    rest.remove_prefix(1);
    haveTime = true;
  }
  ExpectOnlySpaces(rest, Reader, "the key name");
  uint64_t time = haveTime ? seconds * kTicksPerSecond + kTicks1601To1970 : 0;
  TKeyNode* key = &Root;
  if (path.empty()) return key;
  size_t start = 0;
  for (;;) {
    size_t sep = path.find(u'\\', start);
    std::u16string_view name =
        std::u16string_view(path).substr(start, sep == std::u16string::npos ? std::u16string::npos : sep - start);
    if (name.empty()) Reader.Fail("empty component in key name");
    // Loading keeps the times the file gives: a new subkey does not touch its parent.
    TKeyNode* parent = key;
    uint64_t parentTime = parent->Modified;
    key = parent->EnsureSubKey(name, time);
    parent->Modified = parentTime;
    if (sep == std::u16string::npos) break;
    start = sep + 1;
  }
  key->Modified = time;
  return key;
}

void ParseHexData(std::string_view Rest, std::string& Data, TLineReader& Reader) {
  for (;;) {
    Rest = SkipSpaces(Rest);
    while (!Rest.empty() && IsHex(Rest.front())) {
      unsigned v = 0;
      int digits = 0;
      while (!Rest.empty() && IsHex(Rest.front())) {
        v = v * 16 + unsigned(HexVal(Rest.front()));
        Rest.remove_prefix(1);
        if (++digits > 2) Reader.Fail("hex byte out of range");
      }
      Data.push_back(char(v));
      Rest = SkipSpaces(Rest);
      if (!Rest.empty() && Rest.front() == ',') Rest.remove_prefix(1);
      Rest = SkipSpaces(Rest);
    }
    if (Rest.empty()) return;
    if (Rest.front() != '\\' || !SkipSpaces(Rest.substr(1)).empty()) Reader.Fail("bad character in hex data");
    if (!Reader.Next(Rest)) Reader.Fail("hex data continued past the end of the file");
  }
}

void ParseValueLine(std::string_view Line, TKeyNode& Key, TLineReader& Reader) {
  TValueNode value;
  size_t pos = 1;
  if (Line[0] == '"') {
    pos = ParseRegString(Line, 1, '"', value.Name);
    if (pos == std::string_view::npos) Reader.Fail("value name without closing quote");
  }
  std::string_view rest = SkipSpaces(Line.substr(pos));
  if (rest.empty() || rest.front() != '=') Reader.Fail("value without \"=\"");
  rest = SkipSpaces(rest.substr(1));
  auto startsWith = [&](std::string_view Tag) {
    if (rest.substr(0, Tag.size()) != Tag) return false;
    rest.remove_prefix(Tag.size());
    return true;
  };
  auto parseText = [&](uint32_t Type) {
    std::u16string text;
    size_t end = ParseRegString(rest, 0, '"', text);
    if (end == std::string_view::npos) Reader.Fail("string without closing quote");
    ExpectOnlySpaces(rest.substr(end), Reader, "the string");
    text.push_back(0);
    value.Type = Type;
    value.Data = WideToRegData(text);
  };
  if (startsWith("\"") || startsWith("str:\"")) {
    parseText(uint32_t(TRegType::rtString));
  } else if (startsWith("str(2):\"")) {
    parseText(uint32_t(TRegType::rtExpandString));
  } else if (startsWith("str(7):\"")) {
    parseText(uint32_t(TRegType::rtMultiString));
  } else if (startsWith("dword:")) {
    uint32_t v = 0;
    int digits = 0;
    while (!rest.empty() && IsHex(rest.front())) {
      v = v * 16 + uint32_t(HexVal(rest.front()));
      rest.remove_prefix(1);
      if (++digits > 8) Reader.Fail("dword value out of range");
    }
    if (digits == 0) Reader.Fail("dword value without digits");
    ExpectOnlySpaces(rest, Reader, "the dword value");
    value.Type = uint32_t(TRegType::rtDWord);
    value.Data.assign(reinterpret_cast<const char*>(&v), 4); // little-endian host
  } else if (startsWith("hex:")) {
    value.Type = uint32_t(TRegType::rtBinary);
    ParseHexData(rest, value.Data, Reader);
  } else if (startsWith("hex(")) {
    uint32_t type = 0;
    int digits = 0;
    while (!rest.empty() && IsHex(rest.front())) {
      type = type * 16 + uint32_t(HexVal(rest.front()));
      rest.remove_prefix(1);
      if (++digits > 8) Reader.Fail("value type out of range");
    }
    if (digits == 0 || !startsWith("):")) Reader.Fail("malformed \"hex(type):\"");
    value.Type = type;
    ParseHexData(rest, value.Data, Reader);
  } else {
    Reader.Fail("unknown value type");
  }
  TRegName folded = FoldRegName(value.Name);
  Key.Values[folded] = std::move(value);
}

void ParseKeyOption(std::string_view Line, TKeyNode& Key, TLineReader& Reader) {
  if (Line.substr(0, 6) == "#time=") {
    uint64_t t = 0;
    int digits = 0;
    for (char c : Line.substr(6)) {
      if (!IsHex(c)) Reader.Fail("bad #time value");
      if (++digits > 16) Reader.Fail("#time value out of range");
      t = (t << 4) | uint64_t(HexVal(c));
    }
    Key.Modified = t;
  } else if (Line.substr(0, 8) == "#class=\"") {
    std::u16string cls;
    size_t end = ParseRegString(Line, 8, '"', cls);
    if (end == std::string_view::npos) Reader.Fail("class name without closing quote");
    Key.Class = cls;
  } else if (Line.substr(0, 5) == "#link") {
    Key.Link = true;
  }
  // Other options are ignored, as Wine ignores them.
}

void Append(std::string& Out, const char* Fmt, unsigned A, unsigned B = 0) {
  char buf[40];
  int n = std::snprintf(buf, sizeof buf, Fmt, A, B);
  Out.append(buf, size_t(n));
}

void FormatValue(const TValueNode& Value, std::string& Out) {
  size_t lineStart = Out.size();
  if (!Value.Name.empty())
    Out += "\"" + EscapeRegString(Value.Name, "\"\"") + "\"=";
  else
    Out += "@=";
  const std::string& d = Value.Data;
  switch (Value.Type) {
    case 1:
    case 2:
    case 7:
      if (d.size() >= 2 && d.size() % 2 == 0 && d[d.size() - 1] == 0 && d[d.size() - 2] == 0) {
        std::u16string text = ReadUtf16LE(d);
        if (Value.Type != 1) Append(Out, "str(%x):", Value.Type);
        Out += "\"" + EscapeRegString(text, "\"\"", TEscapeKind::ekData) + "\"\n";
        return;
      }
      break;
    case 4:
      if (d.size() == 4) {
        uint32_t v = ReadLE32(d, 0);
        Append(Out, "dword:%08x\n", v);
        return;
      }
      break;
  }
  if (Value.Type == 3)
    Out += "hex:";
  else
    Append(Out, "hex(%x):", Value.Type);
  size_t count = Out.size() - lineStart;
  for (size_t i = 0; i < d.size(); ++i) {
    Append(Out, "%02x", (unsigned char)d[i]);
    count += 2;
    if (i + 1 < d.size()) {
      Out.push_back(',');
      if (++count > 76) {
        Out += "\\\n  ";
        count = 2;
      }
    }
  }
  Out.push_back('\n');
}

void FormatKey(const TKeyNode& Key, const std::u16string& Path, bool IsRoot, std::string& Out) {
  if (!Key.Values.empty() || Key.SubKeys.empty() || Key.Class || Key.Link) {
    Out += "\n[" + (IsRoot ? std::string() : EscapeRegString(Path, "[]")) + "]";
    uint64_t modified = Key.Modified;
    Append(Out, " %u\n", unsigned((modified >= kTicks1601To1970 ? modified - kTicks1601To1970 : 0) / kTicksPerSecond));
    Append(Out, "#time=%x%08x\n", unsigned(modified >> 32), unsigned(modified & 0xFFFFFFFFu));
    if (Key.Class) Out += "#class=\"" + EscapeRegString(*Key.Class, "\"\"") + "\"\n";
    if (Key.Link) Out += "#link\n";
    for (const auto& [folded, value] : Key.Values) FormatValue(value, Out);
  }
  for (const auto& [folded, sub] : Key.SubKeys) {
    std::u16string subPath = IsRoot ? sub->Name : Path + u"\\" + sub->Name;
    FormatKey(*sub, subPath, false, Out);
  }
}

} // namespace

std::string EscapeRegString(std::u16string_view Text, const char* Special, TEscapeKind Kind) {
  static const char kEscapes[] = ".......abtnvfr.............e....";
  std::string out;
  char buf[16];
  for (size_t i = 0; i < Text.size(); ++i) {
    char16_t c = Text[i];
    bool more = i + 1 < Text.size();
    if (c > 127) {
      // Four digits when the next character would otherwise be read as part of the number.
      bool pad = more && Text[i + 1] < 128 && IsHex(char(Text[i + 1]));
      std::snprintf(buf, sizeof buf, pad ? "\\x%04x" : "\\x%x", unsigned(c));
      out += buf;
    } else if (c < 32) {
      if (c == 0 && !more && Kind == TEscapeKind::ekData) continue; // the terminating NUL is not written
      if (kEscapes[c] != '.') {
        out.push_back('\\');
        out.push_back(kEscapes[c]);
      } else {
        bool pad = more && Text[i + 1] >= '0' && Text[i + 1] <= '7';
        std::snprintf(buf, sizeof buf, pad ? "\\%03o" : "\\%o", unsigned(c));
        out += buf;
      }
    } else {
      if (c == '\\' || c == char16_t(Special[0]) || c == char16_t(Special[1])) out.push_back('\\');
      out.push_back(char(c));
    }
  }
  return out;
}

THiveText ParseHiveText(std::string_view Text, const std::string& FileName) {
  TLineReader reader(Text, FileName);
  THiveText hive;
  hive.Root = std::make_unique<TKeyNode>();
  std::string_view line;
  if (!reader.Next(line) || line != "WINE REGISTRY Version 2")
    reader.Fail("the first line is not \"WINE REGISTRY Version 2\"");
  TKeyNode* key = nullptr;
  while (reader.Next(line)) {
    std::string_view p = SkipSpaces(line);
    if (p.empty()) continue;
    switch (p.front()) {
      case '[': key = ParseKeyLine(p, *hive.Root, reader); break;
      case '@':
      case '"':
        if (!key) reader.Fail("value before the first key");
        ParseValueLine(p, *key, reader);
        break;
      case '#':
        if (key)
          ParseKeyOption(p, *key, reader);
        else
          hive.HeaderLines.push_back(TrimRightSpaces(p));
        break;
      case ';':
        if (!key) hive.HeaderLines.push_back(TrimRightSpaces(p));
        break;
      default: reader.Fail("unrecognized line");
    }
  }
  return hive;
}

std::string FormatHiveText(const TKeyNode& Root, const std::vector<std::string>& HeaderLines) {
  std::string out = "WINE REGISTRY Version 2\n";
  for (const auto& line : HeaderLines) {
    if (line.rfind("#", 0) == 0) out += "\n"; // Wine puts a blank line before "#arch="
    out += line + "\n";
  }
  FormatKey(Root, std::u16string(), true, out);
  return out;
}

} // namespace qnl
