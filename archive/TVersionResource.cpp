// Reading version resources into TVersionInfo.
#include "archive/TVersionResource.h"

#include <memory>

#include "archive/ArchiveFiles.h"
#include "archive/TPEVersionBlock.h"
#include "rtl/ByteOrder.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace cmp_TVersion {

int LanguageID(TLanguage Language) {
  static const int kHigh[] = {2052, 2055, 2057, 2058, 2060, 2064, 2067, 2068, 2070, 2074, 3084, 4108};
  if (Language <= lnBahasa) return 1025 + int(Language);
  return kHigh[int(Language) - int(lnSimplifiedChinese)];
}

int CodePage(TCharacterSet CharacterSet) {
  static const int kPages[] = {0, 932, 949, 950, 1200, 1250, 1251, 1252, 1253, 1254, 1255, 1256};
  return kPages[int(CharacterSet)];
}

std::string StringTablePrefix(TLanguage Language, TCharacterSet CharacterSet) {
  return "\\StringFileInfo\\" + IntToHex(LanguageID(Language), 4) + IntToHex(CodePage(CharacterSet), 4) + "\\";
}

} // namespace cmp_TVersion

using namespace cmp_TVersion;

QNL_BEGIN_CLASS(TVersionInfo)
    .Prop("Comment", &C::Comment)
    .Prop("CompanyName", &C::CompanyName)
    .Prop("FileDescription", &C::FileDescription)
    .Prop("FileVersion", &C::FileVersion)
    .Prop("InternalName", &C::InternalName)
    .Prop("LegalCopyright", &C::LegalCopyright)
    .Prop("LegalTradeMarks", &C::LegalTradeMarks)
    .Prop("OriginalFileName", &C::OriginalFileName)
    .Prop("PrivateBuild", &C::PrivateBuild)
    .Prop("ProductName", &C::ProductName)
    .Prop("ProductVersion", &C::ProductVersion)
    .Prop("SpecialBuild", &C::SpecialBuild)
    .Prop("FileOS", &C::FileOS)
    .Prop("FileType", &C::FileType)
    .Prop("FileSubType", &C::FileSubType);
QNL_END_CLASS

QNL_BEGIN_CLASS(TVersionResource)
    .Prop("FileName", &C::FileName, &C::SetFileName)
    .Prop("Language", &C::Language, &C::SetLanguage)
    .Prop("CharacterSet", &C::CharacterSet, &C::SetCharacterSet)
    .Sub("VersionInfo", &C::VersionInfo);
QNL_END_CLASS

void TVersionInfo::Clear() {
  for (std::string* s : {&Comment, &CompanyName, &FileDescription, &FileVersion, &InternalName, &LegalCopyright,
                         &LegalTradeMarks, &OriginalFileName, &PrivateBuild, &ProductName, &ProductVersion,
                         &SpecialBuild, &FileOS, &FileType, &FileSubType})
    s->clear();
  PrimaryLanguage = 0;
}

void TVersionInfo::Assign(const TPersistent* Source) {
  auto* src = dynamic_cast<const TVersionInfo*>(Source);
  if (!src) return TPersistent::Assign(Source);
  Comment = src->Comment, CompanyName = src->CompanyName, FileDescription = src->FileDescription;
  FileVersion = src->FileVersion, InternalName = src->InternalName, LegalCopyright = src->LegalCopyright;
  LegalTradeMarks = src->LegalTradeMarks, OriginalFileName = src->OriginalFileName;
  PrivateBuild = src->PrivateBuild, ProductName = src->ProductName, ProductVersion = src->ProductVersion;
  SpecialBuild = src->SpecialBuild, FileOS = src->FileOS, FileType = src->FileType;
  FileSubType = src->FileSubType, PrimaryLanguage = src->PrimaryLanguage;
}

namespace {

std::string FourParts(uint32_t Ms, uint32_t Ls) {
  return IntToStr(Ms >> 16) + "." + IntToStr(Ms & 0xFFFF) + "." + IntToStr(Ls >> 16) + "." + IntToStr(Ls & 0xFFFF);
}

std::string FileOSText(uint32_t V) {
  switch (V) {
    case 0x00000001: return "Windows 3.0 or later";
    case 0x00000002: return "16 bit OS/2 Presentation Manager";
    case 0x00000003: return "32 bit OS/2 Presentation Manager";
    case 0x00000004: return "32 bit Windows";
    case 0x00010000: return "MS-Dos";
    case 0x00010001: return "Windows 3.0 or later with MS-Dos";
    case 0x00010004: return "32 bit Windows with MS-Dos";
    case 0x00020000: return "16 bit OS/2";
    case 0x00020002: return "16 bit OS/2 with Presentation Manager";
    case 0x00030000: return "32 bit OS/2";
    case 0x00030003: return "32 bit OS/2 with Presentation Manager";
    case 0x00040000: return "Windows NT";
    case 0x00040004: return "Windows NT with 32 bit Windows";
  }
  return "Unknown";
}

std::string FileTypeText(uint32_t V) {
  switch (V) {
    case 1: return "Application";
    case 2: return "Dynamic-Link Library";
    case 3: return "Device Driver";
    case 4: return "Font";
    case 5: return "Virtual Device Driver";
    case 7: return "Static-Link Library";
  }
  return "Unknown";
}

std::string FileSubTypeText(uint32_t Type, uint32_t Sub) {
  static const char* const kDrivers[] = {"Printer", "Keyboard", "Language",    "Display", "Mouse",
                                         "Network", "System",   "Installable", "Sound",   "Communications"};
  static const char* const kFonts[] = {"Raster", "Vector", "TrueType"};
  if (Type == 3) return Sub >= 1 && Sub <= 10 ? kDrivers[Sub - 1] : "Unknown";
  if (Type == 4) return Sub >= 1 && Sub <= 3 ? kFonts[Sub - 1] : "Unknown";
  return {};
}

void ReadBlock(const TPEVersionBlock& Block, TLanguage Language, TCharacterSet CharacterSet, TVersionInfo& Info) {
  Info.Clear();
  if (Block.Empty()) return;
  auto fixed = Block.QueryValue("\\");
  if (!fixed || fixed->size() < 52 || ReadLE32(*fixed, 0) != 0xFEEF04BDu) return;
  auto translation = Block.QueryValue("\\VarFileInfo\\Translation");
  if (translation && translation->size() == 4) Info.PrimaryLanguage = int(ReadLE16(*translation, 0) & 0x3FF);
  const std::string& f = *fixed;
  Info.FileVersion = FourParts(ReadLE32(f, 8), ReadLE32(f, 12));
  Info.ProductVersion = FourParts(ReadLE32(f, 16), ReadLE32(f, 20));
  Info.FileOS = FileOSText(ReadLE32(f, 32));
  Info.FileType = FileTypeText(ReadLE32(f, 36));
  Info.FileSubType = FileSubTypeText(ReadLE32(f, 36), ReadLE32(f, 40));
  std::string prefix = StringTablePrefix(Language, CharacterSet);
  struct TEntry {
    const char* Key;
    std::string TVersionInfo::*Field;
  };
  static const TEntry kEntries[] = {
      {"Comment", &TVersionInfo::Comment},
      {"CompanyName", &TVersionInfo::CompanyName},
      {"FileDescription", &TVersionInfo::FileDescription},
      {"InternalName", &TVersionInfo::InternalName},
      {"LegalCopyright", &TVersionInfo::LegalCopyright},
      {"LegalTradeMarks", &TVersionInfo::LegalTradeMarks},
      {"OriginalFileName", &TVersionInfo::OriginalFileName},
      {"PrivateBuild", &TVersionInfo::PrivateBuild},
      {"ProductName", &TVersionInfo::ProductName},
      {"ProductVersion", &TVersionInfo::ProductVersion},
      {"SpecialBuild", &TVersionInfo::SpecialBuild},
  };
  for (const TEntry& e : kEntries)
    if (auto v = Block.QueryString(prefix + e.Key)) Info.*e.Field = *v;
}

void ReadFile(const std::string& FileName, TLanguage Language, TCharacterSet CharacterSet, TVersionInfo& Info) {
  Info.Clear();
  if (Trim(FileName).empty()) return;
  auto stream = ArchiveFiles::Open(FileName, ArchiveFiles::TOpenMode::omReadShared);
  if (!stream) return;
  ReadBlock(TPEVersionBlock::FromImage(*stream), Language, CharacterSet, Info);
}

} // namespace

void ReadVersionInfoFromImage(const std::string& Image, TLanguage Language, TCharacterSet CharacterSet,
                              TVersionInfo& Info) {
  ReadBlock(TPEVersionBlock::FromImage(Image), Language, CharacterSet, Info);
}

std::string ReadFileVersionString(const std::string& FileName) {
  TVersionInfo info;
  ReadFile(FileName, lnUSEnglish, csMultilingual, info);
  return info.FileVersion;
}

std::string ReadFileVersionString(TStream& File) {
  TVersionInfo info;
  ReadBlock(TPEVersionBlock::FromImage(File), lnUSEnglish, csMultilingual, info);
  return info.FileVersion;
}

TVersionResource::TVersionResource(TComponent* AOwner) : TComponent(AOwner) {
  FFileName = ArchiveFiles::ProgramFileName();
  Refresh();
}

std::string TVersionResource::StringTablePrefix() const {
  return cmp_TVersion::StringTablePrefix(FLanguage, FCharacterSet);
}

void TVersionResource::SetFileName(const std::string& Value) {
  FFileName = Value;
  Refresh();
}

void TVersionResource::SetLanguage(TLanguage Value) {
  FLanguage = Value;
  Refresh();
}

void TVersionResource::SetCharacterSet(TCharacterSet Value) {
  FCharacterSet = Value;
  Refresh();
}

void TVersionResource::Refresh() { ReadFile(FFileName, FLanguage, FCharacterSet, FVersionInfo); }

TVersionResource& VersionResource() {
  static std::unique_ptr<TVersionResource> instance;
  if (!instance) instance = std::make_unique<TVersionResource>(nullptr);
  return *instance;
}

} // namespace qnl
