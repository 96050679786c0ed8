// The reader of language lines.
#include "translate/TLanguageParser.h"

#include <limits>

#include "rtl/SysUtils.h"

namespace qnl {

namespace {

const char* const kEndOutsideMemo = "Found the end of memo marker # at line %d. Was not in a memo however";
const char* const kNotGlidText = "The %d'th string (%s) does not have the proper format of GLID;Text";
const char* const kNotInteger = "The %d'th string (%s) does not have the proper format of GLID;Text or .GLID;";

int DigitValue(char c, int base) {
  int d = -1;
  if (c >= '0' && c <= '9') d = c - '0';
  else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
  return d < base ? d : -1;
}

// The run-time library's integer conversion: leading blanks, an optional sign, "$" or "0x"
// for hexadecimal, digits up to the end (a trailing blank fails), a 32-bit result.
bool TryIdentifier(const std::string& s, int32_t& value) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  int base = 10;
  if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= s.size()) return false;
  uint64_t acc = 0;
  for (; i < s.size(); ++i) {
    int d = DigitValue(s[i], base);
    if (d < 0) return false;
    acc = acc * base + d;
    if (acc > 0xFFFFFFFFull) return false;
  }
  if (base == 16) { // hexadecimal covers the whole 32-bit pattern
    value = static_cast<int32_t>(static_cast<uint32_t>(acc));
    if (negative) value = static_cast<int32_t>(0u - static_cast<uint32_t>(value));
    return true;
  }
  const uint64_t limit = negative ? 0x80000000ull : 0x7FFFFFFFull;
  if (acc > limit) return false;
  value = static_cast<int32_t>(negative ? -static_cast<int64_t>(acc) : static_cast<int64_t>(acc));
  return true;
}

} // namespace

void TLanguageParser::Reset() {
  FInMemo = false;
  FMemoGLID = 0;
  FMemoStart = 0;
  FMemoLines.Clear();
}

void TLanguageParser::FormatError(const char* Message, int Index, const std::string& Line) {
  // The end-of-memo message names only the index; Format leaves the extra argument unused.
  throw Exception(Format(Message, {Index, Line}));
}

int32_t TLanguageParser::ParseIdentifier(const std::string& Part, int Index, const std::string& Line) {
  int32_t value = 0;
  if (!TryIdentifier(Part, value)) FormatError(kNotInteger, Index, Line);
  return value;
}

void TLanguageParser::ParseLine(int Index, const std::string& RawLine) {
  const std::string line = Trim(RawLine);
  if (line.empty()) return;
  if (line == "#") {
    if (!FInMemo) FormatError(kEndOutsideMemo, Index, line);
    FMemos.push_back(std::make_unique<TLanguageMemo>(FLanguage, FMemoGLID, FMemoStart, FMemoLines));
    Reset();
    return;
  }
  if (line[0] == '*') return;
  if (FInMemo) {
    FMemoLines.Add(line);
    return;
  }
  const size_t semicolon = line.find(';');
  if (line[0] == '#') {
    const std::string part = line.substr(1, semicolon == std::string::npos ? std::string::npos : semicolon - 1);
    if (part.empty()) FormatError(kNotGlidText, Index, line);
    FMemoGLID = ParseIdentifier(part, Index, line);
    FMemoStart = Index;
    FMemoLines.Clear();
    FInMemo = true;
    return;
  }
  if (semicolon == std::string::npos || semicolon == 0) FormatError(kNotGlidText, Index, line);
  const size_t second = line.find(';', semicolon + 1);
  std::string text = line.substr(semicolon + 1, second == std::string::npos ? std::string::npos : second - semicolon - 1);
  if (Trim(text).empty()) FormatError(kNotGlidText, Index, line);
  const int32_t glid = ParseIdentifier(line.substr(0, semicolon), Index, line);
  FStrings.push_back(std::make_unique<TLanguageString>(FLanguage, glid, Index, std::move(text)));
}

} // namespace qnl
