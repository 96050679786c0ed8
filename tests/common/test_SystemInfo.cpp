// What the machine tells about itself, and the helper routines built on it.
#include <cstdlib>
#include <filesystem>

#include "common/exceptions_Quenloft.h"
#include "common/routines_API.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "platform/registry/Registry.h"
#include "platform/system/SystemInfo.h"
#include "tests/support/PlatformTest.h"

namespace qnl::test {
namespace {

class SystemInfo : public TPlatformTest {};

struct TVersionCase {
  const char* Name;
  uint32_t Platform, Major, Minor;
  int Class;
};

const TVersionCase kVersionCases[] = {
    {"win31", 0, 3, 10, wvcWin32s},  {"win95", 1, 4, 0, wvcWin95}, {"win98", 1, 4, 10, wvcWin95},
    {"nt351", 2, 3, 51, wvcWinNT35}, {"nt40", 2, 4, 0, wvcWinNT},  {"win2k", 2, 5, 0, wvcWinNT},
    {"winxp", 2, 5, 1, wvcWinNT},    {"win7", 2, 6, 1, wvcWinNT},  {"win10", 2, 10, 0, wvcWinNT},
};

TEST_F(SystemInfo, VersionFollowsWinesVersionValue) {
  for (const auto& c : kVersionCases) {
    SetWindowsVersionName(c.Name);
    TOSVersionInfo info;
    ASSERT_TRUE(GetVersionEx(info)) << c.Name;
    EXPECT_EQ(info.dwPlatformId, c.Platform) << c.Name;
    EXPECT_EQ(info.dwMajorVersion, c.Major) << c.Name;
    EXPECT_EQ(info.dwMinorVersion, c.Minor) << c.Name;
    EXPECT_EQ(GetWindowsVersionClass(), c.Class) << c.Name;
  }
}

TEST_F(SystemInfo, DefaultVersionIsWindows10) {
  EXPECT_EQ(WindowsVersionName(), "win10");
  EXPECT_EQ(GetWindowsVersionClass(), wvcWinNT);
  // Written the way Wine's own configuration writes it.
  TRegKey::Create(TRootKey::rkCurrentUser, "Software\\Wine").WriteString("Version", "WinXP");
  EXPECT_EQ(WindowsVersionName(), "winxp");
}

TEST_F(SystemInfo, UnknownVersionFailsWithTheMessage) {
  TRegKey::Create(TRootKey::rkCurrentUser, "Software\\Wine").WriteString("Version", "os2warp");
  TOSVersionInfo info;
  EXPECT_FALSE(GetVersionEx(info));
  try {
    GetWindowsVersionClass();
    FAIL();
  } catch (const EAPIRoutines& e) {
    EXPECT_EQ(e.Message(), "Could not get information about the current version of Windows");
  }
  EXPECT_THROW(SetWindowsVersionName("os2warp"), EConvertError);
  TOSVersionInfo wrongSize;
  wrongSize.dwOSVersionInfoSize = 156;
  EXPECT_FALSE(GetVersionEx(wrongSize));
}

TEST_F(SystemInfo, WindowsAndSystemDirectories) {
  EXPECT_EQ(GetWindowsDir(), "C:\\windows");
  EXPECT_EQ(GetSystemDir(), "C:\\windows\\system32");
  EXPECT_TRUE(DirectoryExists(GetSystemDir()));
}

TEST_F(SystemInfo, TempDirectoryComesFromTheMachineEnvironment) {
  EXPECT_EQ(GetTempDir(), "C:\\windows\\temp");
  TRegKey env = TRegKey::Create(TRootKey::rkCurrentUser, "Environment");
  env.WriteExpandString("TEMP", "%SystemDrive%\\Temp Files\\");
  EXPECT_EQ(GetTempDir(), "C:\\Temp Files");
  EXPECT_TRUE(DirectoryExists("C:\\Temp Files"));
  env.WriteString("TEMP", "Q:\\nowhere");
  EXPECT_EQ(GetTempDir(), "C:\\windows\\temp");
}

TEST_F(SystemInfo, TempFileNamesHaveThePrefixBat) {
  std::string kept = GetTempFile(TTempFileKeep::tkKeep);
  EXPECT_EQ(kept.rfind("C:\\windows\\temp\\bat", 0), 0u) << kept;
  EXPECT_EQ(kept.substr(kept.size() - 4), ".tmp");
  EXPECT_TRUE(FileExists(kept));
  std::string dropped = GetTempFile();
  EXPECT_NE(dropped, kept);
  EXPECT_FALSE(FileExists(dropped));
  std::string direct = CreateTempFileName("C:\\windows", "batch");
  EXPECT_EQ(direct.rfind("C:\\windows\\bat", 0), 0u);
  EXPECT_EQ(FileSizeOf(direct), 0);
}

TEST_F(SystemInfo, TempFileFailureHasTheMessage) {
  // The temporary directory cannot be made when a file stands in its way.
  WriteMachineFile("C:\\windows\\temp2", "");
  TRegKey::Create(TRootKey::rkCurrentUser, "Environment").WriteString("TEMP", "C:\\windows\\temp2");
  std::filesystem::remove_all(Unix("C:\\windows\\temp"));
  WriteMachineFile("C:\\windows\\temp", "not a directory");
  try {
    GetTempFile();
    FAIL();
  } catch (const EAPIRoutines& e) {
    EXPECT_EQ(e.Message(), "Cannot create a temporary file");
  }
}

TEST_F(SystemInfo, ModuleFileNameIsTheRunningProgram) {
  std::string self = std::filesystem::canonical("/proc/self/exe").string();
  EXPECT_EQ(GetModuleName(), WindowsPathOf(self));
  EXPECT_EQ(UnixPathOf(GetModuleName()), self);
}

struct TLocaleCase {
  const char* Locale;
  uint16_t LangID;
};

const TLocaleCase kLocaleCases[] = {
    {"de_DE.UTF-8", 0x0407},
    {"en_US.UTF-8", 0x0409},
    {"sv_SE", 0x041D},
    {"fr_FR@euro", 0x040C},
    {"en_GB.utf8", 0x0809},
    {"de_AT", 0x0C07},
    {"pt_BR", 0x0416},
    {"pt_PT", 0x0816},
    {"zh_CN.GB2312", 0x0804},
    {"zh_TW", 0x0404},
    {"ja_JP.eucJP", 0x0411},
    {"ru_RU", 0x0419},
    {"es_ES", 0x0C0A},
    {"de_BE", 0x0407},
    {"nl", 0x0413},
    {"xx_YY", 0},
    {"C", 0},
    {"POSIX", 0},
};

TEST(Locale, LinuxLocalesMapToWindowsLanguages) {
  for (const auto& c : kLocaleCases) EXPECT_EQ(LangIDOfLocale(c.Locale), c.LangID) << c.Locale;
}

TEST(Locale, EnvironmentOrderIsLcAllThenLcMessagesThenLang) {
  const char* vars[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  std::string saved[3];
  bool had[3];
  for (int i = 0; i < 3; ++i) {
    const char* v = std::getenv(vars[i]);
    had[i] = v != nullptr;
    saved[i] = v ? v : "";
  }
  setenv("LC_ALL", "", 1);
  setenv("LC_MESSAGES", "sv_SE.UTF-8", 1);
  setenv("LANG", "de_DE.UTF-8", 1);
  EXPECT_EQ(GetUserLanguageID(), 0x041D);
  setenv("LC_ALL", "de_DE.UTF-8", 1);
  EXPECT_EQ(UserDefaultLangID(), 0x0407);
  unsetenv("LC_ALL");
  unsetenv("LC_MESSAGES");
  setenv("LANG", "C.UTF-8", 1);
  EXPECT_EQ(UserDefaultLangID(), 0x0409);
  for (int i = 0; i < 3; ++i) {
    if (had[i])
      setenv(vars[i], saved[i].c_str(), 1);
    else
      unsetenv(vars[i]);
  }
}

} // namespace
} // namespace qnl::test
