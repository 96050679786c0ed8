// The version-resource reader component and the overwrite decision built on it.
#pragma once

#include <cstdint>
#include <string>

#include "common/types_Quenloft.h"
#include "rtl/Classes.h"
#include "rtl/DateTime.h"
#include "rtl/Streams.h"

namespace qnl {

// The reader's own enumerations live in a namespace named after their unit, because the
// translator has another type called TLanguage.
namespace cmp_TVersion {
QNL_ENUM(TLanguage, lnArabic, lnBulgarian, lnCatalan, lnTraditionalChinese, lnCzech, lnDanish, lnGerman, lnGreek,
         lnUSEnglish, lnCastilianSpanish, lnFinnish, lnFrench, lnHebrew, lnHungarian, lnIcelandic, lnItalian,
         lnJapanese, lnKorean, lnDutch, lnNorwegianBokmal, lnPolish, lnBrazilianPortuguese, lnRhaetoRomanic, lnRomanian,
         lnRussian, lnCroatoSerbian, lnSlovak, lnAlbanian, lnSwedish, lnThai, lnTurkish, lnUrdu, lnBahasa,
         lnSimplifiedChinese, lnSwissGerman, lnUKEnglish, lnMexicanSpanish, lnBelgianFrench, lnSwissItalian,
         lnBelgianDutch, lnNorwegianNynorsk, lnPortuguese, lnSerboCroatian, lnCanadianFrench, lnSwissFrench)
QNL_ENUM(TCharacterSet, csASCII, csJapan, csKorea, csTaiwan, csUnicode, csLatin2, csCyrillic, csMultilingual, csGreek,
         csTurkish, csHebrew, csArabic)
// The Windows language identifier (lnUSEnglish = 1033).
int LanguageID(TLanguage Language);
// The code page (csMultilingual = 1252).
int CodePage(TCharacterSet CharacterSet);
// "\StringFileInfo\" + language and code page as eight upper-case hex digits + "\".
std::string StringTablePrefix(TLanguage Language, TCharacterSet CharacterSet);
} // namespace cmp_TVersion

// The strings of one version resource; all empty for a file without one.
class TVersionInfo : public TPersistent {
  QNL_CLASS(TVersionInfo, TPersistent)
public:
  void Clear();
  void Assign(const TPersistent* Source) override;

  std::string Comment, CompanyName, FileDescription, FileVersion, InternalName, LegalCopyright, LegalTradeMarks,
      OriginalFileName, PrivateBuild, ProductName, ProductVersion, SpecialBuild, FileOS, FileType, FileSubType;
  // The first translation entry's language identifier masked with 0x3FF; 0 when none.
  int PrimaryLanguage = 0;
};

// Reads the version resource of FileName into VersionInfo whenever FileName, Language or
// CharacterSet is set; VersionInfo always describes the current settings.
class TVersionResource : public TComponent {
  QNL_CLASS(TVersionResource, TComponent)
public:
  explicit TVersionResource(TComponent* AOwner);
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& Value);
  cmp_TVersion::TLanguage Language() const { return FLanguage; }
  void SetLanguage(cmp_TVersion::TLanguage Value);
  cmp_TVersion::TCharacterSet CharacterSet() const { return FCharacterSet; }
  void SetCharacterSet(cmp_TVersion::TCharacterSet Value);
  const TVersionInfo& VersionInfo() const { return FVersionInfo; }
  // The string-table prefix, "\StringFileInfo\040904E4\" by default.
  std::string StringTablePrefix() const;
  // Reads the resource again.
  void Refresh();

private:
  std::string FFileName;
  cmp_TVersion::TLanguage FLanguage = cmp_TVersion::lnUSEnglish;
  cmp_TVersion::TCharacterSet FCharacterSet = cmp_TVersion::csMultilingual;
  TVersionInfo FVersionInfo;
};

// Reads a resource given as a PE image's bytes; the same rules as the component.
void ReadVersionInfoFromImage(const std::string& Image, cmp_TVersion::TLanguage Language,
                              cmp_TVersion::TCharacterSet CharacterSet, TVersionInfo& Info);
// The FileVersion string of a file; empty when it has no version resource.
std::string ReadFileVersionString(const std::string& FileName);
// The same of a file already open, which need not be opened again.
std::string ReadFileVersionString(TStream& File);

// The program's one reader, created on first use and freed at exit.
TVersionResource& VersionResource();

// <0, 0, >0 as version A is less than, equal to or greater than version B.
int CompareVersions(const std::string& A, const std::string& B);

// Results of the overwrite decision.
enum TNewerResult : int { nrFailed = 0, nrSame = 1, nrNewer = 2, nrExistingNewer = 3 };
int IsFileNewerByName(const std::string& NewFile, const std::string& ExistingFile, TOverwriteType Rule);
// ExistingFound false tells that a look just made found nothing at ExistingFile: the decision
// is the one for a missing file, without opening it.
int IsFileNewerByInfo(const std::string& NewVersion, const std::string& ExistingFile, TOverwriteType Rule,
                      TDateTime NewDate, bool ExistingFound = true);

} // namespace qnl
