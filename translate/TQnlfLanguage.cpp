// The language table and the mapping of Windows language identifiers.
#include "translate/TQnlfLanguage.h"

namespace qnl {

namespace {

// Both Chinese faces are named completely (the stored Big5 name lacked its last byte):
// SimSun in GB2312 for the simplified script, PMingLiU in Big5 for the traditional one.
const std::string kSimSunGB2312 = "\xCB\xCE\xCC\xE5";
const std::string kPMingLiUBig5 = "\xB7\x73\xB2\xD3\xA9\xFA\xC5\xE9";
const std::string kMSPGothicShiftJIS = "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";
const std::string kBatangKorean = "\xB9\xD9\xC5\xC1";

const TLanguageInfo kLanguages[LanguageCount] = {
    {qlChineseSimplified, "lgChineseSimplified", "qnliChineseSimplified.txt", "BM_LANG_SIMPCHINESE", 134, kSimSunGB2312,
     9},
    {qlChineseTraditional, "lgChineseTraditional", "qnliChineseTraditional.txt", "BM_LANG_CHINESE_TRADITIONAL", 136,
     kPMingLiUBig5, 9},
    {qlCzech, "lgCzech", "qnliCzech.txt", "BM_LANG_CZECH", 238, "Arial", 8},
    {qlDanish, "lgDanish", "qnliDanish.txt", "BM_LANG_DANISH", 0, "Arial", 8},
    {qlDutch, "lgDutch", "qnliDutch.txt", "BM_LANG_DUTCH", 0, "Arial", 8},
    {qlEnglish, "lgEnglish", "qnliEnglish.txt", "BM_LANG_ENGLISH", 0, "Arial", 8},
    {qlFrench, "lgFrench", "qnliFrench.txt", "BM_LANG_FRENCH", 0, "Arial", 8},
    {qlGerman, "lgGerman", "qnliGerman.txt", "BM_LANG_GERMAN", 0, "MS Sans Serif", 8},
    {qlGreek, "lgGreek", "qnliGreek.txt", "BM_LANG_GREEK", 0, "SGreek", 8},
    // Arial carries the Hebrew script on every Windows version that has the character set.
    {qlHebrew, "lgHebrew", "qnliHebrew.txt", "BM_LANG_HEBREW", 177, "Arial", 8},
    {qlItalian, "lgItalian", "qnliItalian.txt", "BM_LANG_ITALIAN", 0, "Arial", 8},
    {qlJapanese, "lgJapanese", "qnliJapanese.txt", "BM_LANG_JAPANESE", 128, kMSPGothicShiftJIS, 9},
    {qlKorean, "lgKorean", "qnliKorean.txt", "BM_LANG_KOREAN", 129, kBatangKorean, 9},
    {qlNorwegianBokmal, "lgNorwegianBokmal", "qnliNorwegianBokmal.txt", "BM_LANG_NORWEGIAN_BOKMAL", 0, "Arial", 8},
    {qlNorwegianNynorsk, "lgNorwegianNynorsk", "qnliNorwegianNynorsk.txt", "BM_LANG_NORWEGIAN_NYNORSK", 0, "Arial", 8},
    {qlPolish, "lgPolish", "qnliPolish.txt", "BM_LANG_POLISH", 238, "Arial", 8},
    {qlPortugese, "lgPortugese", "qnliPortugese.txt", "BM_LANG_PORTUGESE", 238, "Arial", 8},
    {qlRussian, "lgRussian", "qnliRussian.txt", "BM_LANG_RUSSIAN", 204, "Arial", 8},
    {qlSpanish, "lgSpanish", "qnliSpanish.txt", "BM_LANG_SPANISH", 0, "Arial", 8},
    {qlVietnamese, "lgVietnamese", "qnliVietnamese.txt", "BM_LANG_VIETNAMESE", 163, "Arial", 8},
};

} // namespace

const TLanguageInfo& LanguageInfoAt(int Index) { return kLanguages[Index]; }

const TLanguageInfo* FindLanguageInfo(int Ident) {
  for (const TLanguageInfo& info : kLanguages)
    if (info.Ident == Ident) return &info;
  return nullptr;
}

TQnlfLanguage LanguageOfLangID(uint16_t LangID) {
  const int primary = LangID & 0x3FF;
  const int sub = LangID >> 10;
  switch (primary) {
    case 0x04: return sub == 1 ? qlChineseTraditional : qlChineseSimplified;
    case 0x05: return qlCzech;
    case 0x06: return qlDanish;
    case 0x07: return qlGerman;
    case 0x08: return qlGreek;
    case 0x0A: return qlSpanish;
    case 0x0C: return qlFrench;
    case 0x0D: return qlHebrew;
    case 0x10: return qlItalian;
    case 0x11: return qlJapanese;
    case 0x12: return qlKorean;
    case 0x13: return qlDutch;
    // Norwegian without a known sublanguage reads as Bokmal, the written form most use.
    case 0x14: return sub == 2 ? qlNorwegianNynorsk : qlNorwegianBokmal;
    case 0x15: return qlPolish;
    case 0x16: return qlPortugese;
    case 0x19: return qlRussian;
    case 0x2A: return qlVietnamese;
    default: return qlEnglish;
  }
}

} // namespace qnl
