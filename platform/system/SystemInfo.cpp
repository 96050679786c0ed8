// What the machine tells about itself: version, directories, temporary names, module file name.
#include "platform/system/SystemInfo.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/OSError.h"
#include "platform/files/DirectoryListings.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "platform/registry/Registry.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

struct TVersionRow {
  const char* Name;
  uint32_t Major, Minor, Build, Platform;
  const char* CSD;
};

// The versions Wine reports for its "Version" names (dlls/ntdll/version.c).
const TVersionRow kVersions[] = {
    {"win31", 3, 10, 0, VER_PLATFORM_WIN32s, "Win32s 1.3"},
    {"win95", 4, 0, 0x40003B6, VER_PLATFORM_WIN32_WINDOWS, ""},
    {"win98", 4, 10, 0x40A08AE, VER_PLATFORM_WIN32_WINDOWS, " A "},
    {"winme", 4, 90, 0x45A0BB8, VER_PLATFORM_WIN32_WINDOWS, " "},
    {"nt351", 3, 51, 0x421, VER_PLATFORM_WIN32_NT, "Service Pack 5"},
    {"nt40", 4, 0, 0x565, VER_PLATFORM_WIN32_NT, "Service Pack 6a"},
    {"win2k", 5, 0, 0x893, VER_PLATFORM_WIN32_NT, "Service Pack 4"},
    {"winxp", 5, 1, 0xA28, VER_PLATFORM_WIN32_NT, "Service Pack 3"},
    {"win2003", 5, 2, 0xECE, VER_PLATFORM_WIN32_NT, "Service Pack 2"},
    {"vista", 6, 0, 0x1772, VER_PLATFORM_WIN32_NT, "Service Pack 2"},
    {"win7", 6, 1, 0x1DB1, VER_PLATFORM_WIN32_NT, "Service Pack 1"},
    {"win8", 6, 2, 0x23F0, VER_PLATFORM_WIN32_NT, ""},
    {"win81", 6, 3, 0x2580, VER_PLATFORM_WIN32_NT, ""},
    {"win10", 10, 0, 0x4A65, VER_PLATFORM_WIN32_NT, ""},
    // Not one of Wine's: a platform of none of the three families, which the engine must refuse
    // to restart (the tests' only way to meet one).
    {"wince", 3, 0, 0, VER_PLATFORM_WIN32_CE, ""},
};

const TVersionRow* FindVersion(const std::string& Name) {
  for (const auto& row : kVersions)
    if (SameText(row.Name, Trim(Name))) return &row;
  return nullptr;
}

constexpr const char* kWineKey = "Software\\Wine";

// Expands %NAME% from the machine's environment keys and the few names Windows defines itself;
// an unknown name stays as it is.
std::string ExpandMachineEnvironment(const std::string& Text) {
  std::string out;
  size_t i = 0;
  while (i < Text.size()) {
    size_t start = Text.find('%', i);
    if (start == std::string::npos) break;
    size_t stop = Text.find('%', start + 1);
    if (stop == std::string::npos) break;
    out += Text.substr(i, start - i);
    std::string name = Text.substr(start + 1, stop - start - 1);
    std::optional<std::string> value;
    if (auto user = TRegKey::Open(TRootKey::rkCurrentUser, "Environment")) value = user->ReadString(name);
    if (!value) {
      if (auto sys = TRegKey::Open(TRootKey::rkLocalMachine,
                                   "System\\CurrentControlSet\\Control\\Session Manager\\Environment"))
        value = sys->ReadString(name);
    }
    if (!value) {
      if (SameText(name, "SystemRoot") || SameText(name, "windir"))
        value = WindowsDirectory();
      else if (SameText(name, "SystemDrive"))
        value = "C:";
      else if (SameText(name, "USERPROFILE")) {
        const char* user = std::getenv("USER");
        value = std::string("C:\\users\\") + (user && *user ? user : "user");
      }
    }
    if (value && value->find('%') == std::string::npos)
      out += *value;
    else
      out += Text.substr(start, stop - start + 1);
    i = stop + 1;
  }
  out += Text.substr(i);
  return out;
}

bool EnsureDirectory(const std::string& Dir) {
  try {
    if (!DirectoryExists(Dir)) ForceDirectories(Dir);
    return DirectoryExists(Dir);
  } catch (const Exception&) {
    return false;
  }
}

// One entry of the locale table: language_COUNTRY (or a bare language: its main country).
struct TLocaleRow {
  const char* Locale;
  uint16_t LangID;
};

const TLocaleRow kLocales[] = {
    {"ar_SA", 0x0401}, {"ar", 0x0401},    {"bg_BG", 0x0402}, {"bg", 0x0402},    {"ca_ES", 0x0403}, {"ca", 0x0403},
    {"zh_TW", 0x0404}, {"cs_CZ", 0x0405}, {"cs", 0x0405},    {"da_DK", 0x0406}, {"da", 0x0406},    {"de_DE", 0x0407},
    {"de", 0x0407},    {"el_GR", 0x0408}, {"el", 0x0408},    {"en_US", 0x0409}, {"en", 0x0409},    {"es_ES", 0x0C0A},
    {"es", 0x0C0A},    {"fi_FI", 0x040B}, {"fi", 0x040B},    {"fr_FR", 0x040C}, {"fr", 0x040C},    {"he_IL", 0x040D},
    {"he", 0x040D},    {"hu_HU", 0x040E}, {"hu", 0x040E},    {"is_IS", 0x040F}, {"is", 0x040F},    {"it_IT", 0x0410},
    {"it", 0x0410},    {"ja_JP", 0x0411}, {"ja", 0x0411},    {"ko_KR", 0x0412}, {"ko", 0x0412},    {"nl_NL", 0x0413},
    {"nl", 0x0413},    {"nb_NO", 0x0414}, {"nb", 0x0414},    {"no_NO", 0x0414}, {"no", 0x0414},    {"pl_PL", 0x0415},
    {"pl", 0x0415},    {"pt_BR", 0x0416}, {"ro_RO", 0x0418}, {"ro", 0x0418},    {"ru_RU", 0x0419}, {"ru", 0x0419},
    {"hr_HR", 0x041A}, {"hr", 0x041A},    {"sk_SK", 0x041B}, {"sk", 0x041B},    {"sq_AL", 0x041C}, {"sq", 0x041C},
    {"sv_SE", 0x041D}, {"sv", 0x041D},    {"th_TH", 0x041E}, {"th", 0x041E},    {"tr_TR", 0x041F}, {"tr", 0x041F},
    {"ur_PK", 0x0420}, {"ur", 0x0420},    {"id_ID", 0x0421}, {"id", 0x0421},    {"uk_UA", 0x0422}, {"uk", 0x0422},
    {"be_BY", 0x0423}, {"be", 0x0423},    {"sl_SI", 0x0424}, {"sl", 0x0424},    {"et_EE", 0x0425}, {"et", 0x0425},
    {"lv_LV", 0x0426}, {"lv", 0x0426},    {"lt_LT", 0x0427}, {"lt", 0x0427},    {"fa_IR", 0x0429}, {"fa", 0x0429},
    {"vi_VN", 0x042A}, {"vi", 0x042A},    {"hy_AM", 0x042B}, {"hy", 0x042B},    {"eu_ES", 0x042D}, {"eu", 0x042D},
    {"mk_MK", 0x042F}, {"mk", 0x042F},    {"af_ZA", 0x0436}, {"af", 0x0436},    {"ka_GE", 0x0437}, {"ka", 0x0437},
    {"hi_IN", 0x0439}, {"hi", 0x0439},    {"ms_MY", 0x043E}, {"ms", 0x043E},    {"kk_KZ", 0x043F}, {"kk", 0x043F},
    {"sw_KE", 0x0441}, {"sw", 0x0441},    {"gl_ES", 0x0456}, {"gl", 0x0456},    {"zh_CN", 0x0804}, {"zh", 0x0804},
    {"zh_SG", 0x1004}, {"zh_HK", 0x0C04}, {"zh_MO", 0x1404}, {"de_CH", 0x0807}, {"de_AT", 0x0C07}, {"de_LU", 0x1007},
    {"de_LI", 0x1407}, {"en_GB", 0x0809}, {"en_AU", 0x0C09}, {"en_CA", 0x1009}, {"en_NZ", 0x1409}, {"en_IE", 0x1809},
    {"en_ZA", 0x1C09}, {"en_IN", 0x4009}, {"en_SG", 0x4809}, {"es_MX", 0x080A}, {"es_AR", 0x2C0A}, {"es_CO", 0x240A},
    {"es_CL", 0x340A}, {"es_US", 0x540A}, {"fr_BE", 0x080C}, {"fr_CA", 0x0C0C}, {"fr_CH", 0x100C}, {"fr_LU", 0x140C},
    {"it_CH", 0x0810}, {"nl_BE", 0x0813}, {"nn_NO", 0x0814}, {"nn", 0x0814},    {"pt_PT", 0x0816}, {"pt", 0x0816},
    {"sr_RS", 0x081A}, {"sr", 0x081A},    {"sv_FI", 0x081D}, {"ga_IE", 0x083C}, {"ga", 0x083C},
};

} // namespace

bool GetVersionEx(TOSVersionInfo& Info) {
  if (Info.dwOSVersionInfoSize != 148) return false;
  const TVersionRow* row = FindVersion(WindowsVersionName());
  if (!row) return false;
  Info.dwMajorVersion = row->Major;
  Info.dwMinorVersion = row->Minor;
  Info.dwBuildNumber = row->Build;
  Info.dwPlatformId = row->Platform;
  Info.szCSDVersion = row->CSD;
  return true;
}

std::string WindowsVersionName() {
  if (auto key = TRegKey::Open(TRootKey::rkCurrentUser, kWineKey)) {
    if (auto name = key->ReadString("Version")) {
      std::string trimmed = Trim(*name);
      if (!trimmed.empty()) return LowerCase(trimmed);
    }
  }
  return "win10";
}

bool IsKnownWindowsVersionName(const std::string& Name) { return FindVersion(Name) != nullptr; }

void SetWindowsVersionName(const std::string& Name) {
  if (!IsKnownWindowsVersionName(Name)) {
    std::string known;
    for (const auto& row : kVersions) known += std::string(known.empty() ? "" : ", ") + row.Name;
    throw EConvertError(Format("Unknown Windows version \"%s\" (known: %s)", {Name, known}));
  }
  TRegKey::Create(TRootKey::rkCurrentUser, kWineKey).WriteString("Version", LowerCase(Trim(Name)));
}

std::string WindowsDirectory() { return "C:\\windows"; }

std::string SystemDirectory() { return "C:\\windows\\system32"; }

std::string TempDirectory() {
  if (auto key = TRegKey::Open(TRootKey::rkCurrentUser, "Environment")) {
    for (const char* name : {"TEMP", "TMP"}) {
      auto value = key->ReadString(name);
      if (!value) continue;
      std::string dir = Trim(ExpandMachineEnvironment(*value));
      while (dir.size() > 3 && (dir.back() == '\\' || dir.back() == '/')) dir.pop_back();
      // Only an absolute path on a drive of this machine is usable.
      if (dir.size() >= 3 && dir[1] == ':' && EnsureDirectory(dir)) return NormalizeWindowsPath(dir);
    }
  }
  std::string fallback = WindowsDirectory() + "\\temp";
  EnsureDirectory(fallback);
  return fallback;
}

std::string CreateTempFileName(std::string_view Dir, std::string_view Prefix) {
  std::string dir(Dir);
  if (!DirectoryExists(dir)) RaiseFileError("create a temporary file in", dir, ENOENT);
  std::string base = dir;
  if (base.empty() || (base.back() != '\\' && base.back() != '/')) base += '\\';
  base += std::string(Prefix.substr(0, 3));
  static unsigned last = 0;
  unsigned num = static_cast<unsigned>(std::time(nullptr) ^ (::getpid() << 4)) & 0xffff;
  if (last - num < 10) num = last + 1;
  num &= 0xffff;
  if (num == 0) num = 1;
  unsigned unique = num;
  do {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%x.tmp", unique);
    std::string name = base + hex;
    std::string unixPath = UnixPathOf(name);
    detail::TDirectoryChange creation(unixPath);
    int fd = ::open(unixPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      creation.Added();
      ::close(fd);
      last = unique;
      return name;
    }
    if (errno != EEXIST) RaiseLastFileError("create temporary file", name);
    if (!(++unique & 0xffff)) unique = 1;
  } while (unique != num);
  RaiseFileError("create a temporary file in", dir, EEXIST);
}

std::string ModuleFileName() {
  char buf[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n < 0) RaiseLastOSError("get the file name of the running program", "");
  return WindowsPathOf(std::string(buf, static_cast<size_t>(n)));
}

uint16_t LangIDOfLocale(std::string_view Locale) {
  std::string locale(Locale);
  size_t cut = locale.find_first_of(".@");
  if (cut != std::string::npos) locale.erase(cut);
  if (locale.empty() || locale == "C" || locale == "POSIX") return 0;
  for (const auto& row : kLocales)
    if (SameText(row.Locale, locale)) return row.LangID;
  std::string language = locale.substr(0, locale.find('_'));
  for (const auto& row : kLocales)
    if (SameText(row.Locale, language)) return row.LangID;
  return 0;
}

uint16_t UserDefaultLangID() {
  for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(var);
    if (!value || !*value) continue;
    uint16_t id = LangIDOfLocale(value);
    return id ? id : 0x0409;
  }
  return 0x0409;
}

} // namespace qnl
