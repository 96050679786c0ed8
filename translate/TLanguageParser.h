// The reader of language lines, one line at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "rtl/Strings.h"
#include "translate/TLanguageElement.h"

namespace qnl {

// Classifies language lines in order and appends the entries they make to the two lists it
// was given. Between lines it remembers whether a memo is open, so that appending a line to
// a list already parsed continues where the last line left off; a memo still open is not an
// entry until its end line arrives.
class TLanguageParser {
public:
  using TStringEntries = std::vector<std::unique_ptr<TLanguageString>>;
  using TMemoEntries = std::vector<std::unique_ptr<TLanguageMemo>>;

  TLanguageParser(TLanguage* Language, TStringEntries& Strings, TMemoEntries& Memos)
      : FLanguage(Language), FStrings(Strings), FMemos(Memos) {}

  // Back to the state before the first line: outside a memo, nothing read.
  void Reset();
  // Reads the line of that index; a line that breaks the format raises Exception with
  // the message naming the index and the trimmed line.
  void ParseLine(int Index, const std::string& Line);

private:
  [[noreturn]] static void FormatError(const char* Message, int Index, const std::string& Line);
  static int32_t ParseIdentifier(const std::string& Part, int Index, const std::string& Line);

  TLanguage* FLanguage;
  TStringEntries& FStrings;
  TMemoEntries& FMemos;
  bool FInMemo = false;
  int32_t FMemoGLID = 0;
  int FMemoStart = 0;
  TStringList FMemoLines;
};

} // namespace qnl
