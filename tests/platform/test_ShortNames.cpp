// Short (8.3) names agree with the ones Wine makes for the same files.
#include "common/routines_API.h"
#include "platform/OSError.h"
#include "platform/files/Files.h"
#include "platform/files/ShortNames.h"
#include "platform/files/WinPaths.h"
#include "tests/support/PlatformTest.h"

namespace qnl::test {
namespace {

struct TShortCase {
  const char* Long;
  const char* Short;
};

// Checked against Wine 8 (`wine cmd /c dir /x` on files of these names).
const TShortCase kWineShortNames[] = {
    {"Program Files", "PROG~FBU"},
    {"My App", "MY_A~VE2"},
    {"LongFileName.txt", "LONG~LMQ.TXT"},
    {"readme.html", "READ~403.HTM"},
    {"a.b.c.d", "A_B_~YUB.D"},
    {"Quenloft Setup.exe", "QUEN~DI3.EXE"},
    {"archive.tar.gz", "ARCH~5FB.GZ"},
    {"x y", "X_Y~~R0B"},
    {"verylongname", "VERY~FQH"},
    {"UPPER CASE NAME.DOC", "UPPE~E2Z.DOC"},
    {"mixedCase.Text", "MIXE~NLE.TEX"},
    {"a+b=c.txt", "A_B_~SIQ.TXT"},
};

TEST(ShortNames, HashedNamesMatchWine) {
  for (const auto& c : kWineShortNames) EXPECT_EQ(ShortFileName(c.Long), c.Short) << c.Long;
}

TEST(ShortNames, LeadingDotIsNoExtension) {
  // Computed by hand from Wine's algorithm (its dir command hides dot files): the extension
  // search starts after the first character, so ".hidden" has none.
  EXPECT_EQ(ShortFileName(".hidden"), "_HID~45N");
}

TEST(ShortNames, HashIgnoresLetterCase) {
  EXPECT_EQ(ShortFileName("PROGRAM FILES"), "PROG~FBU");
  EXPECT_EQ(ShortFileName("program files"), "PROG~FBU");
}

TEST(ShortNames, LegalNamesStayAsTheyAre) {
  EXPECT_TRUE(IsLegal83Name("setup.exe"));
  EXPECT_EQ(ShortFileName("setup.exe"), "setup.exe");
  EXPECT_EQ(ShortFileName("sub~dir"), "sub~dir");
  EXPECT_TRUE(IsLegal83Name("ABCDEFGH.TXT"));
  EXPECT_TRUE(IsLegal83Name(".."));
  EXPECT_FALSE(IsLegal83Name("ABCDEFGHI"));
  EXPECT_FALSE(IsLegal83Name("a.text"));
  EXPECT_FALSE(IsLegal83Name("a.b.c"));
  EXPECT_FALSE(IsLegal83Name("a b"));
  EXPECT_FALSE(IsLegal83Name("name."));
}

TEST(ShortNames, AccentedNamesAreHashedLikeWine) {
  // "été.txt" in the machine's code page 1252: é is 0xE9; Wine hashes the UTF-16 form.
  EXPECT_EQ(ShortFileName("\xE9t\xE9.txt"), "_T_~~JGT.TXT");
}

class ShortPaths : public TPlatformTest {};

TEST_F(ShortPaths, EveryComponentOfAnExistingPathIsShortened) {
  ForceDirectories("C:\\Program Files\\My App");
  WriteMachineFile("C:\\Program Files\\My App\\LongFileName.txt", "x");
  EXPECT_EQ(ShortPathName("c:\\program files\\my app\\longfilename.txt"), "C:\\PROG~FBU\\MY_A~VE2\\LONG~LMQ.TXT");
  EXPECT_EQ(ShortPathName("C:\\windows\\system32"), "C:\\windows\\system32");
}

TEST_F(ShortPaths, ShortPathsLeadBackToTheFile) {
  ForceDirectories("C:\\Program Files\\My App");
  WriteMachineFile("C:\\Program Files\\My App\\Quenloft Setup.exe", "exe");
  EXPECT_EQ(ReadMachineFile("C:\\PROG~FBU\\MY_A~VE2\\QUEN~DI3.EXE"), "exe");
  EXPECT_TRUE(FileExists("c:\\prog~fbu\\my_a~ve2\\quen~di3.exe"));
}

TEST_F(ShortPaths, MissingPathIsAnError) {
  EXPECT_THROW(ShortPathName("C:\\Program Files\\Nothing Here\\x.txt"), EInOutError);
  // The helper gives the path back unchanged: there is nothing to shorten.
  EXPECT_EQ(GetShortPath("C:\\Nothing Here\\x.txt"), "C:\\Nothing Here\\x.txt");
}

} // namespace
} // namespace qnl::test
