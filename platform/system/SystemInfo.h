// What the machine tells about itself: version, directories, temporary names, language, module.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qnl {

// GetVersionEx's OSVERSIONINFO (size 148 in the ANSI form).
struct TOSVersionInfo {
  uint32_t dwOSVersionInfoSize = 148;
  uint32_t dwMajorVersion = 0;
  uint32_t dwMinorVersion = 0;
  uint32_t dwBuildNumber = 0;
  uint32_t dwPlatformId = 0; // 0 Win32s, 1 Windows 95 family, 2 Windows NT
  std::string szCSDVersion;
};
constexpr uint32_t VER_PLATFORM_WIN32s = 0;
constexpr uint32_t VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr uint32_t VER_PLATFORM_WIN32_NT = 2;
constexpr uint32_t VER_PLATFORM_WIN32_CE = 3;

// GetVersionEx: the version Wine would report for the machine's HKCU\Software\Wine "Version"
// (win31, win95, win98, winme, nt351, nt40, win2k, winxp, win2003, vista, win7, win8, win81,
// win10; missing -> win10), and "wince" (platform 3, not a Wine name: for tests of a platform
// outside the three families). False when the size field is not 148 or the name is unknown.
bool GetVersionEx(TOSVersionInfo& Info);
// The machine's version name ("win10" when none is set) and setting it; SetWindowsVersionName
// raises EConvertError for a name GetVersionEx does not know.
std::string WindowsVersionName();
void SetWindowsVersionName(const std::string& Name);
bool IsKnownWindowsVersionName(const std::string& Name);

// GetWindowsDirectory / GetSystemDirectory: "C:\windows" and "C:\windows\system32" (created
// when missing, as the machine skeleton has them).
std::string WindowsDirectory();
std::string SystemDirectory();
// GetTempPath without the trailing backslash: HKCU\Environment "TEMP" (environment strings
// expanded, %USERPROFILE% and the like left as they are) when it names a directory that exists
// or can be created, else "C:\windows\temp".
std::string TempDirectory();
// GetTempFileName(Dir, Prefix, 0) as Wine does it: creates and returns a new empty file
// Dir\<pre><hex>.tmp (pre = the first three characters of Prefix, hex a lower-case number of
// up to four digits). EInOutError when Dir does not exist or no name is free.
std::string CreateTempFileName(std::string_view Dir, std::string_view Prefix);

// GetModuleFileName(nil): the Windows path of the running program.
std::string ModuleFileName();

// GetUserDefaultLangID: from LC_ALL, else LC_MESSAGES, else LANG ("de_DE.UTF-8" -> 0x0407);
// a language without a country takes its main country; unknown or "C"/"POSIX" -> 0x0409.
uint16_t UserDefaultLangID();
// The table behind it, for one locale name; 0 when unknown.
uint16_t LangIDOfLocale(std::string_view Locale);

} // namespace qnl
