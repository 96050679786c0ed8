// Shell folders and system directories, read from the machine's registry with defaults.
#include "common/routines_Strings.h"
#include "paths/routines_ExpandPaths.h"
#include "platform/files/WinPaths.h"
#include "platform/registry/Registry.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {
constexpr const char* ShellFoldersKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* CurrentVersionKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* BDEKey = "\\Software\\Borland\\Database Engine";

using TRoot = TRootKey;

// A string value, or Default when the key or value is missing or cannot be read: these
// lookups never fail.
std::string ReadStringDefault(TRoot Root, const std::string& Key, const std::string& Value,
                              const std::string& Default) {
  try {
    std::optional<TRegKey> key = TRegKey::Open(Root, Key);
    if (!key) return Default;
    return key->ReadString(Value).value_or(Default);
  } catch (const ERegistry&) {
    return Default;
  }
}

// The drive of the current directory, such as "C:".
std::string CurrentDrive() { return GetCurrentDir().substr(0, 2); }

std::string ShellFolder(const char* Value, const std::string& Default) {
  return RemoveBackSlash(ReadStringDefault(TRoot::CurrentUser, ShellFoldersKey, Value, Default));
}
} // namespace

std::string GetStartMenuDir() { return ShellFolder("Start Menu", GetWindowsDir() + "\\" + "Startmen"); }
std::string GetProgramsDir() { return ShellFolder("Programs", GetStartMenuDir() + "\\" + "Programs"); }
std::string GetDesktopDir() { return ShellFolder("Desktop", GetWindowsDir() + "\\" + "Desktop"); }
std::string GetStartupDir() { return ShellFolder("Startup", GetWindowsDir() + "\\" + "Startup"); }

std::string GetProgramFilesDir() {
  return RemoveBackSlash(ReadStringDefault(TRoot::LocalMachine, CurrentVersionKey, "ProgramFilesDir",
                                           CurrentDrive() + "\\" + "Program Files"));
}

std::string GetCommonFilesDir() {
  return RemoveBackSlash(ReadStringDefault(TRoot::LocalMachine, CurrentVersionKey, "CommonFilesDir",
                                           CurrentDrive() + "\\" + "Program Files\\Common Files"));
}

std::string GetBDEDir() {
  std::string paths = ReadStringDefault(TRoot::LocalMachine, BDEKey, "DLLPath",
                                        GetProgramFilesDir() + "\\" + "Borland\\Common Files\\BDE");
  return GetField(paths, 1, ';');
}

} // namespace qnl
