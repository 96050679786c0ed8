// Wine's registry text format: parsing and writing.
#include "platform/registry/HiveText.h"

#include <cstdio>

#include "platform/registry/AnsiText.h"
#include "platform/registry/Registry.h"
#include "rtl/ByteOrder.h"

namespace qnl {

namespace {

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
int HexVal(char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// Reads the hive line by line, keeping the number of the current line for messages.
class TLineReader {
public:
  TLineReader(std::string_view text, const std::string& fileName) : FText(text), FFileName(fileName) {}

  bool Next(std::string_view& line) {
    if (FPos >= FText.size()) return false;
    size_t end = FText.find('\n', FPos);
    if (end == std::string_view::npos) end = FText.size();
    line = FText.substr(FPos, end - FPos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    FPos = end + 1;
    ++FLine;
    return true;
  }

  [[noreturn]] void Fail(const std::string& what) const {
    throw EHiveDamaged("Damaged registry file \"" + FFileName + "\", line " + std::to_string(FLine) + ": " + what);
  }

private:
  std::string_view FText;
  const std::string& FFileName;
  size_t FPos = 0;
  int FLine = 0;
};

// Unescapes text up to `endChar`; returns the position after it, or npos when it is missing.
size_t ParseRegString(std::string_view s, size_t pos, char endChar, std::u16string& out) {
  static const char kEscapes[] = "abtnvfre";
  static const char16_t kCodes[] = {7, 8, 9, 10, 11, 12, 13, 27};
  while (pos < s.size() && s[pos] != endChar) {
    if (s[pos] != '\\') {
      // Wine writes only ASCII; other bytes are taken as UTF-8, one character at a time.
      size_t start = pos++;
      while (pos < s.size() && ((unsigned char)s[pos] & 0xC0) == 0x80 && ((unsigned char)s[start] & 0x80)) ++pos;
      out += Utf8ToWide(s.substr(start, pos - start));
      continue;
    }
    if (++pos >= s.size()) return std::string_view::npos;
    char c = s[pos];
    if (const char* e = std::char_traits<char>::find(kEscapes, 8, c)) {
      out.push_back(kCodes[e - kEscapes]);
      ++pos;
    } else if (c == 'x') {
      ++pos;
      if (pos >= s.size() || !IsHex(s[pos])) {
        out.push_back(u'x');
        continue;
      }
      char16_t v = 0;
      for (int i = 0; i < 4 && pos < s.size() && IsHex(s[pos]); ++i) v = char16_t(v * 16 + HexVal(s[pos++]));
      out.push_back(v);
    } else if (c >= '0' && c <= '7') {
      char16_t v = 0;
      for (int i = 0; i < 3 && pos < s.size() && s[pos] >= '0' && s[pos] <= '7'; ++i) v = char16_t(v * 8 + (s[pos++] - '0'));
      out.push_back(v);
    } else {
      out.push_back(char16_t((unsigned char)c));
      ++pos;
    }
  }
  return pos < s.size() ? pos + 1 : std::string_view::npos;
}

std::string TrimRightSpaces(std::string_view s) {
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return std::string(s);
}

std::string_view SkipSpaces(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  return s;
}

void ExpectOnlySpaces(std::string_view rest, const TLineReader& reader, const char* what) {
  if (!SkipSpaces(rest).empty()) reader.Fail(std::string("unexpected text after ") + what);
}

std::string WideToRegData(const std::u16string& text) {
  std::string data;
  AppendUtf16LE(data, text);
  return data;
}

TKeyNode* ParseKeyLine(std::string_view line, TKeyNode& root, TLineReader& reader) {
  std::u16string path;
  size_t end = ParseRegString(line, 1, ']', path);
  if (end == std::string_view::npos) reader.Fail("key name without closing \"]\"");
  std::string_view rest = SkipSpaces(line.substr(end));
  uint64_t seconds = 0;
  bool haveTime = false;
  while (!rest.empty() && rest.front() >= '0' && rest.front() <= '9') {
    seconds = seconds * 10 + uint64_t(rest.front() - '0');
    if (seconds > 0xFFFFFFFFULL) reader.Fail("key time stamp out of range");
    rest.remove_prefix(1);
    haveTime = true;
  }
  ExpectOnlySpaces(rest, reader, "the key name");
  uint64_t time = haveTime ? seconds * kTicksPerSecond + kTicks1601To1970 : 0;
  TKeyNode* key = &root;
  if (path.empty()) return key;
  size_t start = 0;
  for (;;) {
    size_t sep = path.find(u'\\', start);
    std::u16string_view name = std::u16string_view(path).substr(start, sep == std::u16string::npos ? std::u16string::npos : sep - start);
    if (name.empty()) reader.Fail("empty component in key name");
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

void ParseHexData(std::string_view rest, std::string& data, TLineReader& reader) {
  for (;;) {
    rest = SkipSpaces(rest);
    while (!rest.empty() && IsHex(rest.front())) {
      unsigned v = 0;
      int digits = 0;
      while (!rest.empty() && IsHex(rest.front())) {
        v = v * 16 + unsigned(HexVal(rest.front()));
        rest.remove_prefix(1);
        if (++digits > 2) reader.Fail("hex byte out of range");
      }
      data.push_back(char(v));
      rest = SkipSpaces(rest);
      if (!rest.empty() && rest.front() == ',') rest.remove_prefix(1);
      rest = SkipSpaces(rest);
    }
    if (rest.empty()) return;
    if (rest.front() != '\\' || !SkipSpaces(rest.substr(1)).empty()) reader.Fail("bad character in hex data");
    if (!reader.Next(rest)) reader.Fail("hex data continued past the end of the file");
  }
}

void ParseValueLine(std::string_view line, TKeyNode& key, TLineReader& reader) {
  TValueNode value;
  size_t pos = 1;
  if (line[0] == '"') {
    pos = ParseRegString(line, 1, '"', value.Name);
    if (pos == std::string_view::npos) reader.Fail("value name without closing quote");
  }
  std::string_view rest = SkipSpaces(line.substr(pos));
  if (rest.empty() || rest.front() != '=') reader.Fail("value without \"=\"");
  rest = SkipSpaces(rest.substr(1));
  auto startsWith = [&](std::string_view tag) {
    if (rest.substr(0, tag.size()) != tag) return false;
    rest.remove_prefix(tag.size());
    return true;
  };
  auto parseText = [&](uint32_t type) {
    std::u16string text;
    size_t end = ParseRegString(rest, 0, '"', text);
    if (end == std::string_view::npos) reader.Fail("string without closing quote");
    ExpectOnlySpaces(rest.substr(end), reader, "the string");
    text.push_back(0);
    value.Type = type;
    value.Data = WideToRegData(text);
  };
  if (startsWith("\"") || startsWith("str:\"")) {
    parseText(uint32_t(TRegType::String));
  } else if (startsWith("str(2):\"")) {
    parseText(uint32_t(TRegType::ExpandString));
  } else if (startsWith("str(7):\"")) {
    parseText(uint32_t(TRegType::MultiString));
  } else if (startsWith("dword:")) {
    uint32_t v = 0;
    int digits = 0;
    while (!rest.empty() && IsHex(rest.front())) {
      v = v * 16 + uint32_t(HexVal(rest.front()));
      rest.remove_prefix(1);
      if (++digits > 8) reader.Fail("dword value out of range");
    }
    if (digits == 0) reader.Fail("dword value without digits");
    ExpectOnlySpaces(rest, reader, "the dword value");
    value.Type = uint32_t(TRegType::DWord);
    value.Data.assign(reinterpret_cast<const char*>(&v), 4); // little-endian host
  } else if (startsWith("hex:")) {
    value.Type = uint32_t(TRegType::Binary);
    ParseHexData(rest, value.Data, reader);
  } else if (startsWith("hex(")) {
    uint32_t type = 0;
    int digits = 0;
    while (!rest.empty() && IsHex(rest.front())) {
      type = type * 16 + uint32_t(HexVal(rest.front()));
      rest.remove_prefix(1);
      if (++digits > 8) reader.Fail("value type out of range");
    }
    if (digits == 0 || !startsWith("):")) reader.Fail("malformed \"hex(type):\"");
    value.Type = type;
    ParseHexData(rest, value.Data, reader);
  } else {
    reader.Fail("unknown value type");
  }
  TRegName folded = FoldRegName(value.Name);
  key.Values[folded] = std::move(value);
}

void ParseKeyOption(std::string_view line, TKeyNode& key, TLineReader& reader) {
  if (line.substr(0, 6) == "#time=") {
    uint64_t t = 0;
    int digits = 0;
    for (char c : line.substr(6)) {
      if (!IsHex(c)) reader.Fail("bad #time value");
      if (++digits > 16) reader.Fail("#time value out of range");
      t = (t << 4) | uint64_t(HexVal(c));
    }
    key.Modified = t;
  } else if (line.substr(0, 8) == "#class=\"") {
    std::u16string cls;
    size_t end = ParseRegString(line, 8, '"', cls);
    if (end == std::string_view::npos) reader.Fail("class name without closing quote");
    key.Class = cls;
  } else if (line.substr(0, 5) == "#link") {
    key.Link = true;
  }
  // Other options are ignored, as Wine ignores them.
}

void Append(std::string& out, const char* fmt, unsigned a, unsigned b = 0) {
  char buf[40];
  int n = std::snprintf(buf, sizeof buf, fmt, a, b);
  out.append(buf, size_t(n));
}

void FormatValue(const TValueNode& value, std::string& out) {
  size_t lineStart = out.size();
  if (!value.Name.empty()) out += "\"" + EscapeRegString(value.Name, "\"\"") + "\"=";
  else out += "@=";
  const std::string& d = value.Data;
  switch (value.Type) {
  case 1:
  case 2:
  case 7:
    if (d.size() >= 2 && d.size() % 2 == 0 && d[d.size() - 1] == 0 && d[d.size() - 2] == 0) {
      std::u16string text = ReadUtf16LE(d);
      if (value.Type != 1) Append(out, "str(%x):", value.Type);
      out += "\"" + EscapeRegString(text, "\"\"", TEscapeKind::Data) + "\"\n";
      return;
    }
    break;
  case 4:
    if (d.size() == 4) {
      uint32_t v = ReadLE32(d, 0);
      Append(out, "dword:%08x\n", v);
      return;
    }
    break;
  }
  if (value.Type == 3) out += "hex:";
  else Append(out, "hex(%x):", value.Type);
  size_t count = out.size() - lineStart;
  for (size_t i = 0; i < d.size(); ++i) {
    Append(out, "%02x", (unsigned char)d[i]);
    count += 2;
    if (i + 1 < d.size()) {
      out.push_back(',');
      if (++count > 76) {
        out += "\\\n  ";
        count = 2;
      }
    }
  }
  out.push_back('\n');
}

void FormatKey(const TKeyNode& key, const std::u16string& path, bool isRoot, std::string& out) {
  if (!key.Values.empty() || key.SubKeys.empty() || key.Class || key.Link) {
    out += "\n[" + (isRoot ? std::string() : EscapeRegString(path, "[]")) + "]";
    uint64_t modified = key.Modified;
    Append(out, " %u\n", unsigned((modified >= kTicks1601To1970 ? modified - kTicks1601To1970 : 0) / kTicksPerSecond));
    Append(out, "#time=%x%08x\n", unsigned(modified >> 32), unsigned(modified & 0xFFFFFFFFu));
    if (key.Class) out += "#class=\"" + EscapeRegString(*key.Class, "\"\"") + "\"\n";
    if (key.Link) out += "#link\n";
    for (const auto& [folded, value] : key.Values) FormatValue(value, out);
  }
  for (const auto& [folded, sub] : key.SubKeys) {
    std::u16string subPath = isRoot ? sub->Name : path + u"\\" + sub->Name;
    FormatKey(*sub, subPath, false, out);
  }
}

} // namespace

std::string EscapeRegString(std::u16string_view text, const char* special, TEscapeKind kind) {
  static const char kEscapes[] = ".......abtnvfr.............e....";
  std::string out;
  char buf[16];
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    bool more = i + 1 < text.size();
    if (c > 127) {
      // Four digits when the next character would otherwise be read as part of the number.
      bool pad = more && text[i + 1] < 128 && IsHex(char(text[i + 1]));
      std::snprintf(buf, sizeof buf, pad ? "\\x%04x" : "\\x%x", unsigned(c));
      out += buf;
    } else if (c < 32) {
      if (c == 0 && !more && kind == TEscapeKind::Data) continue; // the terminating NUL is not written
      if (kEscapes[c] != '.') {
        out.push_back('\\');
        out.push_back(kEscapes[c]);
      } else {
        bool pad = more && text[i + 1] >= '0' && text[i + 1] <= '7';
        std::snprintf(buf, sizeof buf, pad ? "\\%03o" : "\\%o", unsigned(c));
        out += buf;
      }
    } else {
      if (c == '\\' || c == char16_t(special[0]) || c == char16_t(special[1])) out.push_back('\\');
      out.push_back(char(c));
    }
  }
  return out;
}

THiveText ParseHiveText(std::string_view text, const std::string& fileName) {
  TLineReader reader(text, fileName);
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
    case '[':
      key = ParseKeyLine(p, *hive.Root, reader);
      break;
    case '@':
    case '"':
      if (!key) reader.Fail("value before the first key");
      ParseValueLine(p, *key, reader);
      break;
    case '#':
      if (key) ParseKeyOption(p, *key, reader);
      else hive.HeaderLines.push_back(TrimRightSpaces(p));
      break;
    case ';':
      if (!key) hive.HeaderLines.push_back(TrimRightSpaces(p));
      break;
    default:
      reader.Fail("unrecognized line");
    }
  }
  return hive;
}

std::string FormatHiveText(const TKeyNode& root, const std::vector<std::string>& headerLines) {
  std::string out = "WINE REGISTRY Version 2\n";
  for (const auto& line : headerLines) {
    if (line.rfind("#", 0) == 0) out += "\n"; // Wine puts a blank line before "#arch="
    out += line + "\n";
  }
  FormatKey(root, std::u16string(), true, out);
  return out;
}

} // namespace qnl
