// Shell folders and system directories, read from the machine's registry with defaults.
#include "common/routines_Strings.h"
#include "paths/routines_ExpandPaths.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {
constexpr const char* ShellFoldersKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* CurrentVersionKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* BDEKey = "\\Software\\Borland\\Database Engine";

enum class TRoot { CurrentUser, LocalMachine };

// A string value, or Default when the key or value is missing or cannot be read.
std::string ReadStringDefault(TRoot Root, const std::string& Key, const std::string& Value,
                              const std::string& Default) {
  throw ENotImplemented("Registry string lookup");
}

// The drive of the current directory, such as "C:".
std::string CurrentDrive() { throw ENotImplemented("Current drive lookup"); }

std::string ShellFolder(const char* Value, const std::string& Default) {
  return RemoveBackSlash(ReadStringDefault(TRoot::CurrentUser, ShellFoldersKey, Value, Default));
}
} // namespace

std::string GetWindowsDir() { throw ENotImplemented("GetWindowsDirectory"); }
std::string GetSystemDir() { throw ENotImplemented("GetSystemDirectory"); }

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
