// Version resources of real PE files (made by mingw-w64) and the overwrite decision.
#include <gtest/gtest.h>

#include <map>

#include "ArchiveTestFiles.h"
#include "archive/TPEVersionBlock.h"
#include "archive/TVersionResource.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"

using namespace qnl;
using namespace qnl::test;
using namespace qnl::cmp_TVersion;

namespace {

std::string Fixture(const std::string& Name) { return WindowsPathOf(SourceDir() + "/fixtures/" + Name); }

// What python3-pefile reads from the file; empty when pefile is not installed.
std::map<std::string, std::string> PefileView(const std::string& Name) {
  std::map<std::string, std::string> view;
  std::string out;
  if (RunCommand("/usr/bin/python3 '" + SourceDir() + "/fixtures/pe_versions.py' '" + SourceDir() + "/fixtures/" +
                     Name + "'",
                 &out) != 0)
    return view;
  size_t pos = 0;
  while (pos < out.size()) {
    size_t end = out.find('\n', pos);
    std::string line = out.substr(pos, end - pos);
    size_t eq = line.find('=');
    if (eq != std::string::npos) view[line.substr(0, eq)] = line.substr(eq + 1);
    pos = end == std::string::npos ? out.size() : end + 1;
  }
  return view;
}

} // namespace

TEST(VersionResource, ReadsThirtyTwoAndSixtyFourBitApplications) {
  for (const char* name : {"app32.exe", "app64.exe"}) {
    TVersionResource r(nullptr);
    r.SetFileName(Fixture(name));
    const TVersionInfo& v = r.VersionInfo();
    EXPECT_EQ(v.FileVersion, "1.2.3.4") << name;
    EXPECT_EQ(v.ProductVersion, "5.6 beta") << name; // the string table replaces the fixed one
    EXPECT_EQ(v.CompanyName, "Quenloft Test Company");
    EXPECT_EQ(v.Comment, "A test program");
    EXPECT_EQ(v.FileDescription, "Application fixture");
    EXPECT_EQ(v.InternalName, "app32");
    EXPECT_EQ(v.LegalCopyright, "Copyright (C) nobody");
    EXPECT_EQ(v.LegalTradeMarks, "none");
    EXPECT_EQ(v.OriginalFileName, "app32.exe");
    EXPECT_EQ(v.PrivateBuild, "private");
    EXPECT_EQ(v.ProductName, "Fixture Product");
    EXPECT_EQ(v.SpecialBuild, "special");
    EXPECT_EQ(v.FileOS, "Windows NT with 32 bit Windows");
    EXPECT_EQ(v.FileType, "Application");
    EXPECT_EQ(v.FileSubType, "");
    EXPECT_EQ(v.PrimaryLanguage, 0x0809 & 0x3FF);
  }
}

TEST(VersionResource, AgreesWithPefile) {
  for (const char* name : {"app32.exe", "app64.exe", "driver64.dll", "font32.dll", "long64.exe"}) {
    auto view = PefileView(name);
    if (view.empty()) GTEST_SKIP() << "python3-pefile is not installed";
    TVersionResource r(nullptr);
    r.SetFileName(Fixture(name));
    EXPECT_EQ(r.VersionInfo().FileVersion, view["FileVersion"]) << name;
    if (view.count("040904E4\\CompanyName")) {
      EXPECT_EQ(r.VersionInfo().CompanyName, view["040904E4\\CompanyName"]);
    }
    std::string product =
        view.count("040904E4\\ProductVersion") ? view["040904E4\\ProductVersion"] : view["FixedProductVersion"];
    EXPECT_EQ(r.VersionInfo().ProductVersion, product) << name;
  }
}

TEST(VersionResource, LanguageAndCharacterSetChooseTheStringTable) {
  TVersionResource r(nullptr);
  r.SetFileName(Fixture("app64.exe"));
  EXPECT_EQ(r.StringTablePrefix(), "\\StringFileInfo\\040904E4\\");
  r.SetLanguage(lnGerman);
  EXPECT_EQ(r.StringTablePrefix(), "\\StringFileInfo\\040704E4\\");
  EXPECT_EQ(r.VersionInfo().CompanyName, "Testfirma");
  EXPECT_EQ(r.VersionInfo().ProductName, "Testprodukt");
  EXPECT_EQ(r.VersionInfo().ProductVersion, "5.6.7.8"); // no string of its own here
  EXPECT_EQ(r.VersionInfo().Comment, "");
  r.SetCharacterSet(csUnicode);
  EXPECT_EQ(r.VersionInfo().CompanyName, "");
}

TEST(VersionResource, EnumerationsMapToTheirNumbers) {
  EXPECT_EQ(LanguageID(lnArabic), 1025);
  EXPECT_EQ(LanguageID(lnUSEnglish), 1033);
  EXPECT_EQ(LanguageID(lnBahasa), 1057);
  EXPECT_EQ(LanguageID(lnSimplifiedChinese), 2052);
  EXPECT_EQ(LanguageID(lnSerboCroatian), 2074);
  EXPECT_EQ(LanguageID(lnCanadianFrench), 3084);
  EXPECT_EQ(LanguageID(lnSwissFrench), 4108);
  EXPECT_EQ(EnumInfo<TLanguage>().Names.size(), 45u);
  EXPECT_EQ(CodePage(csASCII), 0);
  EXPECT_EQ(CodePage(csUnicode), 1200);
  EXPECT_EQ(CodePage(csArabic), 1256);
  EXPECT_EQ(StringTablePrefix(lnGerman, csMultilingual), "\\StringFileInfo\\040704E4\\");
}

TEST(VersionResource, TypeAndOSTexts) {
  TVersionResource r(nullptr);
  r.SetFileName(Fixture("driver64.dll"));
  EXPECT_EQ(r.VersionInfo().FileType, "Device Driver");
  EXPECT_EQ(r.VersionInfo().FileSubType, "Network");
  EXPECT_EQ(r.VersionInfo().FileOS, "32 bit Windows");
  EXPECT_EQ(r.VersionInfo().PrimaryLanguage, 0); // two translation entries
  r.SetFileName(Fixture("font32.dll"));
  EXPECT_EQ(r.VersionInfo().FileType, "Font");
  EXPECT_EQ(r.VersionInfo().FileSubType, "TrueType");
  EXPECT_EQ(r.VersionInfo().FileOS, "Windows 3.0 or later with MS-Dos");
  EXPECT_EQ(r.VersionInfo().PrimaryLanguage, 7);
  r.SetFileName(Fixture("long64.exe"));
  EXPECT_EQ(r.VersionInfo().FileVersion, "65535.65535.65535.65535");
  EXPECT_EQ(r.VersionInfo().FileOS, "Unknown");
  EXPECT_EQ(r.VersionInfo().FileType, "Unknown");
}

TEST(VersionResource, FilesWithoutResourceHaveEmptyStrings) {
  TVersionResource r(nullptr);
  for (const std::string& f : {Fixture("nover64.exe"), std::string("C:\\does\\not\\exist.exe"), std::string()}) {
    r.SetFileName(f);
    EXPECT_EQ(r.VersionInfo().FileVersion, "");
    EXPECT_EQ(r.VersionInfo().FileOS, "");
    EXPECT_EQ(r.VersionInfo().CompanyName, "");
  }
}

TEST(VersionResource, DamagedImagesReadAsNoResource) {
  std::string image = ReadMachineFile(Fixture("app32.exe"));
  TVersionInfo info;
  for (size_t cut : {size_t(0), size_t(64), size_t(300), image.size() / 2, image.size() - 1}) {
    ReadVersionInfoFromImage(image.substr(0, cut), lnUSEnglish, csMultilingual, info);
    (void)info;
  }
  std::string scrambled = image;
  for (size_t i = 0x80; i < scrambled.size(); i += 7) scrambled[i] = char(scrambled[i] * 31 + 7);
  ReadVersionInfoFromImage(scrambled, lnUSEnglish, csMultilingual, info);
  ReadVersionInfoFromImage(image, lnUSEnglish, csMultilingual, info);
  EXPECT_EQ(info.FileVersion, "1.2.3.4");
}

TEST(VersionComparison, NumbersCompareAsNumbers) {
  EXPECT_LT(CompareVersions("2.0.0.0", "10.0.0.0"), 0);
  EXPECT_LT(CompareVersions("1.0", "1.0.0"), 0);
  EXPECT_EQ(CompareVersions("", ""), 0);
  EXPECT_GT(CompareVersions("1", ""), 0);
  EXPECT_GT(CompareVersions("1.b", "1.B"), 0);
  EXPECT_EQ(CompareVersions("1.02", "1.2"), 0);
  EXPECT_GT(CompareVersions("99999999999999999999", "9"), 0);
}

TEST(VersionComparison, FiveRules) {
  std::string dir = FreshDir("rules");
  std::string older = dir + "\\font.dll", newer = dir + "\\driver.dll", plain = dir + "\\plain.txt";
  WriteMachineFile(older, ReadMachineFile(Fixture("font32.dll")));   // 2.0.0.0
  WriteMachineFile(newer, ReadMachineFile(Fixture("driver64.dll"))); // 10.0.0.0
  WriteMachineFile(plain, "text");
  SetFileDateTime(older, 40000);
  SetFileDateTime(newer, 41000);
  SetFileDateTime(plain, 41000);
  std::string missing = dir + "\\missing.dll";
  EXPECT_EQ(IsFileNewerByName(older, newer, owAlways), 2);
  EXPECT_EQ(IsFileNewerByName(older, newer, owNever), 3);
  EXPECT_EQ(IsFileNewerByName(older, missing, owNever), 2);
  EXPECT_EQ(IsFileNewerByName(older, "  ", owNever), 2);
  EXPECT_EQ(IsFileNewerByName(newer, older, owVersion), 2);
  EXPECT_EQ(IsFileNewerByName(older, newer, owVersion), 3);
  EXPECT_EQ(IsFileNewerByName(plain, missing, owVersion), 1); // neither has a version
  EXPECT_EQ(IsFileNewerByName(newer, older, owDate), 2);
  EXPECT_EQ(IsFileNewerByName(older, newer, owDate), 3);
  EXPECT_EQ(IsFileNewerByName(newer, missing, owDate), 0);
  EXPECT_EQ(IsFileNewerByName(plain, newer, owVersionDate), 3); // versions differ
  EXPECT_EQ(IsFileNewerByInfo("10.0.0.0", newer, owVersionDate, 41000), 1);
  EXPECT_EQ(IsFileNewerByInfo("10.0.0.0", newer, owVersionDate, 42000), 2);
  EXPECT_EQ(IsFileNewerByInfo("10.0.0.0", missing, owVersionDate, 42000), 2); // versions differ
  EXPECT_EQ(IsFileNewerByInfo("", missing, owVersionDate, 42000), 0);
  EXPECT_EQ(IsFileNewerByInfo("2.0.0.0", newer, owVersion, 0), 3);
  // Told that a look found nothing, every rule decides as it does for a missing file.
  for (TOverwriteType rule : {owAlways, owNever, owVersion, owVersionDate, owDate})
    for (const char* version : {"", "1.0.0.0"})
      EXPECT_EQ(IsFileNewerByInfo(version, missing, rule, 42000, false),
                IsFileNewerByInfo(version, missing, rule, 42000))
          << rule << " " << version;
}

TEST(VersionComparison, SharedReaderExists) { EXPECT_EQ(&VersionResource(), &VersionResource()); }
