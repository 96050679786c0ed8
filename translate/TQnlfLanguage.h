// The translator's languages and the table of their fixed properties.
#pragma once

#include <cstdint>
#include <string>

#include "rtl/TypInfo.h"

namespace qnl {

// The twenty languages plus qlUser, which stands for the current user's language and has no
// language object of its own.
QNL_ENUM(TQnlfLanguage, qlChineseSimplified, qlChineseTraditional, qlCzech, qlDanish, qlDutch, qlEnglish, qlFrench,
         qlGerman, qlGreek, qlHebrew, qlItalian, qlJapanese, qlKorean, qlNorwegianBokmal, qlNorwegianNynorsk, qlPolish,
         qlPortugese, qlRussian, qlSpanish, qlUser, qlVietnamese)

// One row of the language table: what the translator creates for a language and the font
// rule applied to controls shown in it.
struct TLanguageInfo {
  TQnlfLanguage Ident;
  const char* PropertyName; // the translator's published property, "lgGerman"
  const char* TextFileName; // recorded only
  const char* PictureName;  // recorded only
  uint8_t Charset;          // the platform's font character-set code
  std::string Face;         // bytes in the character set's code page
  int MinimumSize;          // points
};

// The twenty rows in table order (qlUser has none).
constexpr int LanguageCount = 20;
const TLanguageInfo& LanguageInfoAt(int Index);
// The row of a language; nullptr for qlUser and values outside the table.
const TLanguageInfo* FindLanguageInfo(int Ident);

// The language of a Windows language identifier (primary language in the low 10 bits,
// sublanguage in the top 6); every language the table lacks is English.
TQnlfLanguage LanguageOfLangID(uint16_t LangID);

} // namespace qnl
