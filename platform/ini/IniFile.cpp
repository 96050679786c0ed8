// Profile (INI) files: sections of "key=value" lines.
#include "platform/ini/IniFile.h"

#include <vector>

#include "platform/files/WholeFile.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

std::vector<std::string> SplitLines(const std::string& Text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < Text.size()) {
    size_t end = Text.find('\n', start);
    if (end == std::string::npos) end = Text.size();
    std::string line = Text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

// The section a line opens ("[Name]" with blanks allowed around), or nullopt.
std::optional<std::string> SectionOf(const std::string& Line) {
  std::string t = Trim(Line);
  size_t close = t.find(']');
  if (t.empty() || t.front() != '[' || close == std::string::npos) return std::nullopt;
  return Trim(t.substr(1, close - 1));
}

// The key of an entry line, or nullopt for blank lines, comments and lines without "=".
std::optional<std::string> KeyOf(const std::string& Line) {
  std::string t = TrimLeft(Line);
  size_t equals = t.find('=');
  if (t.empty() || t.front() == ';' || equals == std::string::npos) return std::nullopt;
  return Trim(t.substr(0, equals));
}

// Where one section's lines lie: its header and the line after its last entry.
struct TSectionSpan {
  size_t Header = 0;
  size_t EndOfEntries = 0;
};

std::optional<TSectionSpan> FindSection(const std::vector<std::string>& Lines, std::string_view Section) {
  for (size_t i = 0; i < Lines.size(); ++i) {
    std::optional<std::string> name = SectionOf(Lines[i]);
    if (!name || !SameText(*name, Section)) continue;
    TSectionSpan span{i, i + 1};
    for (size_t j = i + 1; j < Lines.size() && !SectionOf(Lines[j]); ++j)
      if (!Trim(Lines[j]).empty()) span.EndOfEntries = j + 1;
    return span;
  }
  return std::nullopt;
}

std::optional<size_t> FindKey(const std::vector<std::string>& Lines, const TSectionSpan& Span, std::string_view Key) {
  for (size_t i = Span.Header + 1; i < Span.EndOfEntries; ++i) {
    std::optional<std::string> key = KeyOf(Lines[i]);
    if (key && SameText(*key, Key)) return i;
  }
  return std::nullopt;
}

} // namespace

void WriteProfileString(std::string_view FileName, std::string_view Section, std::string_view Key,
                        std::string_view Value) {
  std::vector<std::string> lines = SplitLines(ReadFileContents(FileName).value_or(""));
  std::string entry = std::string(Key) + "=" + std::string(Value);
  std::optional<TSectionSpan> span = FindSection(lines, Section);
  if (!span) {
    lines.push_back("[" + std::string(Section) + "]");
    lines.push_back(entry);
  } else if (std::optional<size_t> at = FindKey(lines, *span, Key)) {
    lines[*at] = entry;
  } else {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(span->EndOfEntries), entry);
  }
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  ReplaceFileContents(FileName, text);
}

std::optional<std::string> ReadProfileString(std::string_view FileName, std::string_view Section,
                                             std::string_view Key) {
  std::optional<std::string> text = ReadFileContents(FileName);
  if (!text) return std::nullopt;
  std::vector<std::string> lines = SplitLines(*text);
  std::optional<TSectionSpan> span = FindSection(lines, Section);
  if (!span) return std::nullopt;
  std::optional<size_t> at = FindKey(lines, *span, Key);
  if (!at) return std::nullopt;
  const std::string& line = lines[*at];
  return Trim(line.substr(line.find('=') + 1));
}

} // namespace qnl
