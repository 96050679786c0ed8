// Shell folders and system directories, read from the machine's registry with defaults.
#include <map>
#include <tuple>
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

// The lookups answered from memory while a TFolderLookupsOnce lives.
struct TRemembered {
  int Holders = 0;
  std::map<std::tuple<TRoot, std::string, std::string>, std::string> Values;
};
TRemembered& Remembered() {
  static TRemembered remembered;
  return remembered;
}

// A string value, or the default when the key or value is missing or cannot be read: these
// lookups never fail. The default is made only when needed: some cost a look at the disk.
template <class TDefault>
std::string ReadStringNow(TRoot Root, const std::string& Key, const std::string& Value, TDefault&& Default) {
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

// ReadStringNow, answered from memory after the first time while a TFolderLookupsOnce lives.
template <class TDefault>
std::string ReadStringDefault(TRoot Root, const std::string& Key, const std::string& Value, TDefault&& Default) {
  TRemembered& remembered = Remembered();
  if (remembered.Holders == 0) return ReadStringNow(Root, Key, Value, Default);
  auto known = remembered.Values.find({Root, Key, Value});
  if (known != remembered.Values.end()) return known->second;
  std::string found = ReadStringNow(Root, Key, Value, Default);
  remembered.Values[{Root, Key, Value}] = found;
  return found;
}

// The drive of the current directory, such as "C:".
std::string CurrentDrive() { return GetCurrentDir().substr(0, 2); }

template <class TDefault>
std::string ShellFolder(const char* Value, TDefault&& Default) {
  return RemoveBackSlash(ReadStringDefault(TRoot::rkCurrentUser, ShellFoldersKey, Value, Default));
}
} // namespace

TFolderLookupsOnce::TFolderLookupsOnce() { ++Remembered().Holders; }

TFolderLookupsOnce::~TFolderLookupsOnce() {
  if (--Remembered().Holders == 0) Remembered().Values.clear();
}

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
