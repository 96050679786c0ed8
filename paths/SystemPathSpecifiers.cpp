// The built-in specifiers of system locations: folders found in the registry or the platform.
#include "common/routines_Strings.h"
#include "paths/StandardPathSpecifier.h"
#include "paths/routines_ExpandPaths.h"

namespace qnl {

QNL_DEFINE_STANDARD_SPECIFIER(TpsBDEDLL, "Borland Database Engine DLL Path", "BDE DLL")
// The lookup keeps the value as read; a specifier never gives a trailing backslash.
std::string TpsBDEDLL::GetPath(TComponent*) const { return RemoveBackSlash(GetBDEDir()); }

QNL_DEFINE_STANDARD_SPECIFIER(TpsCommonFiles, "Path of the common files directory under the program files directory",
                              "Common files")
std::string TpsCommonFiles::GetPath(TComponent*) const { return GetCommonFilesDir(); }

QNL_DEFINE_STANDARD_SPECIFIER(TpsDesktopMenu, "Path of the Desktop", "Desktop")
std::string TpsDesktopMenu::GetPath(TComponent*) const { return GetDesktopDir(); }

QNL_DEFINE_STANDARD_SPECIFIER(TpsProgramFiles, "Path of the program files directory", "Program files")
std::string TpsProgramFiles::GetPath(TComponent*) const { return GetProgramFilesDir(); }

QNL_DEFINE_STANDARD_SPECIFIER(TpsProgramMenu, "Path of the Programs folder under the Start Menu", "Program menu")
std::string TpsProgramMenu::GetPath(TComponent*) const { return GetProgramsDir(); }

QNL_DEFINE_STANDARD_SPECIFIER(TpsStartMenu, "Path of Start Menu", "Start menu")
std::string TpsStartMenu::GetPath(TComponent*) const { return GetStartMenuDir(); }

QNL_DEFINE_STANDARD_SPECIFIER(TpsStartupMenu, "Path of the Startup folder in the Programs folder under the Start Menu",
                              "Startup menu")
std::string TpsStartupMenu::GetPath(TComponent*) const { return GetStartupDir(); }

QNL_DEFINE_STANDARD_SPECIFIER(TpsSystem, "Path of system directory", "System dir")
std::string TpsSystem::GetPath(TComponent*) const { return GetSystemDir(); }

QNL_DEFINE_STANDARD_SPECIFIER(TpsWindow, "Path of the Windows directory", "Windows dir")
std::string TpsWindow::GetPath(TComponent*) const { return GetWindowsDir(); }

} // namespace qnl
