// One language of the translator: its lines, the entries they parse into, and its font.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "rtl/Graphics.h"
#include "translate/TLangFormatStrings.h"
#include "translate/TLanguageElement.h"
#include "translate/TLanguageParser.h"
#include "translate/TQnlfLanguage.h"

namespace qnl {

class TTranslator;

// A language's entries always equal those of the last successful parse of its lines, and
// are empty after a failed one. Parsing a line appended to lines already parsed continues
// the last parse instead of starting over, so streaming n lines costs n line parses.
class TLanguage : public TPersistent {
  QNL_CLASS(TLanguage, TPersistent)
public:
  TLanguage(TTranslator* Translator, TQnlfLanguage Ident);
  ~TLanguage() override;

  TFont* Font() const { return FFont.get(); }
  void SetFont(const TFont* Value) { FFont->Assign(Value); }
  bool FontOverride() const { return FFontOverride; }
  void SetFontOverride(bool Value) { FFontOverride = Value; }
  TQnlfLanguage LanguageIdent() const { return FLanguageIdent; }
  TLangFormatStrings* Strings() const { return FStrings.get(); }
  // Copies the given lines and parses them once.
  void SetStrings(const TStrings* Value) { FStrings->Assign(Value); }
  const std::string& TextFileName() const { return FTextFileName; }
  const std::string& PictureName() const { return FPictureName; }
  TTranslator* Translator() const { return FTranslator; }

  bool ParseEnabled() const { return FParseEnabled; }
  void SetParseEnabled(bool Value) { FParseEnabled = Value; }

  // Rebuilds the entries from all lines (only while parsing is enabled); a line that
  // breaks the format leaves no entries and raises Exception.
  void ParseStrings();

  // The first string entry whose text equals Text ignoring case (by the machine's
  // locale), or nullptr.
  TLanguageString* FindStringByText(const std::string& Text) const;
  TLanguageString* FindStringByGLID(int32_t GLID) const;
  // The first memo whose lines equal Lines exactly, or nullptr.
  TLanguageMemo* FindMemoByText(const TStrings& Lines) const;
  TLanguageMemo* FindMemoByGLID(int32_t GLID) const;

  int StringEntryCount() const { return static_cast<int>(FStringEntries.size()); }
  TLanguageString* StringEntry(int Index) const { return FStringEntries.at(Index).get(); }
  int MemoEntryCount() const { return static_cast<int>(FMemoEntries.size()); }
  TLanguageMemo* MemoEntry(int Index) const { return FMemoEntries.at(Index).get(); }

  void Assign(const TPersistent* Source) override;

private:
  friend class TLangFormatStrings;
  // The list gained the line at Index; StampBefore is the list's change stamp before.
  void LinesAppended(int Index, uint64_t StampBefore);
  // The line at Index is gone: string entries after it move up by one line.
  void LineDeleted(int Index);
  void DiscardEntries();
  void ParseFrom(int First);

  TTranslator* FTranslator;
  TQnlfLanguage FLanguageIdent;
  std::string FTextFileName;
  std::string FPictureName;
  std::unique_ptr<TFont> FFont;
  bool FFontOverride = false;
  std::unique_ptr<TLangFormatStrings> FStrings;
  TLanguageParser::TStringEntries FStringEntries;
  TLanguageParser::TMemoEntries FMemoEntries;
  TLanguageParser FParser;
  bool FParseEnabled = true;

  // What the parser has consumed: lines [0, FParsedCount) as they were at FParsedStamp.
  // FFailure holds the error of a failed parse, which every longer list repeats.
  int FParsedCount = 0;
  uint64_t FParsedStamp = 0;
  bool FParsedValid = true;
  std::string FFailure;
};

} // namespace qnl
