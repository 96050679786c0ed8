// The reader of language lines.
#include "translate/TLanguageParser.h"

#include <limits>

#include "rtl/SysUtils.h"

namespace qnl {

namespace {

const char* const kEndOutsideMemo = "Found the end of memo marker # at line %d. Was not in a memo however";
const char* const kNotGlidText = "The %d'th string (%s) does not have the proper format of GLID;Text";
const char* const kNotInteger = "The %d'th string (%s) does not have the proper format of GLID;Text or .GLID;";

// The run-time library's integer conversion, which accepts leading blanks but no trailing
// one, with a 32-bit result; hexadecimal covers the whole 32-bit pattern.
bool TryIdentifier(const std::string& S, int32_t& Value) {
  if (S.empty() || static_cast<unsigned char>(S.back()) <= ' ') return false;
  int64_t v = 0;
  if (!TryStrToInt(S, v)) return false;
  const bool hex = S.find_first_of("$xX") != std::string::npos;
  if (hex && v > std::numeric_limits<int32_t>::max() && v <= 0xFFFFFFFFll) {
    Value = static_cast<int32_t>(static_cast<uint32_t>(v));
    return true;
  }
  if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()) return false;
  Value = static_cast<int32_t>(v);
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
  std::string text =
      line.substr(semicolon + 1, second == std::string::npos ? std::string::npos : second - semicolon - 1);
  if (Trim(text).empty()) FormatError(kNotGlidText, Index, line);
  const int32_t glid = ParseIdentifier(line.substr(0, semicolon), Index, line);
  FStrings.push_back(std::make_unique<TLanguageString>(FLanguage, glid, Index, std::move(text)));
}

} // namespace qnl
