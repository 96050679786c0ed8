// The entries a language's lines parse into: strings and memos, each with its identifier.
#pragma once

#include <cstdint>
#include <string>

#include "rtl/Strings.h"

namespace qnl {

class TLanguage;

// One parsed entry: its identifier (GLID), the language it belongs to and the zero-based
// index of the line it was read from.
class TLanguageElement {
public:
  TLanguageElement(TLanguage* Language, int32_t GLID, int LineIndex)
      : FLanguage(Language), FGLID(GLID), FLineIndex(LineIndex) {}
  TLanguageElement(const TLanguageElement&) = delete;
  TLanguageElement& operator=(const TLanguageElement&) = delete;
  virtual ~TLanguageElement() = default;

  int32_t GLID() const { return FGLID; }
  TLanguage* Language() const { return FLanguage; }
  int LineIndex() const { return FLineIndex; }
  void SetLineIndex(int Value) { FLineIndex = Value; }

private:
  TLanguage* FLanguage;
  int32_t FGLID;
  int FLineIndex;
};

// A "GLID;Text" line; Text never holds more than MaxTextLength characters.
class TLanguageString : public TLanguageElement {
public:
  static constexpr size_t MaxTextLength = 255;
  TLanguageString(TLanguage* Language, int32_t GLID, int LineIndex, std::string Text)
      : TLanguageElement(Language, GLID, LineIndex),
        FText(Text.size() > MaxTextLength ? Text.substr(0, MaxTextLength) : std::move(Text)) {}
  const std::string& Text() const { return FText; }

private:
  std::string FText;
};

// A memo: its own copy of the lines between its start line and its end line "#"; its line
// index is that of its start line.
class TLanguageMemo : public TLanguageElement {
public:
  TLanguageMemo(TLanguage* Language, int32_t GLID, int LineIndex, const TStrings& Lines)
      : TLanguageElement(Language, GLID, LineIndex) {
    FLines.Assign(&Lines);
  }
  const TStringList& Lines() const { return FLines; }

private:
  TStringList FLines;
};

} // namespace qnl
