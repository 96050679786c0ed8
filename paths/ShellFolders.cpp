// Shell folders and system directories, read from the machine's registry with defaults.
#include <type_traits>

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

// A string value, or the default when the key or value is missing or cannot be read: these
// lookups never fail. The default is made only when needed: some cost a look at the disk,
// and every destination path of every file asks for these folders.
template <class TDefault>
std::string ReadStringDefault(TRoot Root, const std::string& Key, const std::string& Value, TDefault&& Default) {
  std::optional<std::string> found;
  try {
    found = TRegKey::ReadStringAt(Root, Key, Value);
  } catch (const ERegistry&) {}
  if (found) return *found;
  if constexpr (std::is_invocable_v<TDefault>)
    return Default();
  else
    return std::string(Default);
}

// The drive of the current directory, such as "C:".
std::string CurrentDrive() { return GetCurrentDir().substr(0, 2); }

template <class TDefault>
std::string ShellFolder(const char* Value, TDefault&& Default) {
  return RemoveBackSlash(ReadStringDefault(TRoot::rkCurrentUser, ShellFoldersKey, Value, Default));
}
} // namespace

std::string GetStartMenuDir() {
  return ShellFolder("Start Menu", [] { return GetWindowsDir() + "\\" + "Startmen"; });
}
std::string GetProgramsDir() {
  return ShellFolder("Programs", [] { return GetStartMenuDir() + "\\" + "Programs"; });
}
std::string GetDesktopDir() {
  return ShellFolder("Desktop", [] { return GetWindowsDir() + "\\" + "Desktop"; });
}
std::string GetStartupDir() {
  return ShellFolder("Startup", [] { return GetWindowsDir() + "\\" + "Startup"; });
}

std::string GetProgramFilesDir() {
  return RemoveBackSlash(ReadStringDefault(TRoot::rkLocalMachine, CurrentVersionKey, "ProgramFilesDir",
                                           [] { return CurrentDrive() + "\\" + "Program Files"; }));
}

std::string GetCommonFilesDir() {
  return RemoveBackSlash(ReadStringDefault(TRoot::rkLocalMachine, CurrentVersionKey, "CommonFilesDir",
                                           [] { return CurrentDrive() + "\\" + "Program Files\\Common Files"; }));
}

std::string GetBDEDir() {
  std::string paths = ReadStringDefault(TRoot::rkLocalMachine, BDEKey, "DLLPath",
                                        [] { return GetProgramFilesDir() + "\\" + "Borland\\Common Files\\BDE"; });
  return GetField(paths, 1, ';');
}

} // namespace qnl
