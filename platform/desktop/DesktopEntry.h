// The Linux desktop's menu for the machine's Start Menu: what Wine's menu builder writes.
#pragma once

#include <string>
#include <vector>

#include "platform/shelllink/ShellLink.h"

namespace qnl {

// Puts the shortcut LinkPath (made with Link) into the user's desktop menu when it lies in the
// Start Menu folder StartMenu (both Windows paths) and its target is a Windows program or a
// document that exists: the freedesktop.org entry
// "$XDG_DATA_HOME/applications/quenloft/<the link's folders under StartMenu>/<its name>.desktop"
// (Type=Application, Name, Exec starting the target through `wine` with this machine's
// WINEPREFIX and the arguments quoted by the Desktop Entry rules, Path, Icon when the program
// carries one), and for each of those folders that has none yet a
// "$XDG_DATA_HOME/desktop-directories/quenloft-<folders joined by ->.directory". XDG_DATA_HOME
// is ~/.local/share when unset. Nothing is written for other shortcuts, or when the environment
// has QUENLOFT_NO_DESKTOP_ENTRIES=1. Returns the files written, as Windows paths (through drive
// Z:). Raises EInOutError or EAPIRoutines naming the file that could not be written.
std::vector<std::string> WriteDesktopMenuEntry(const std::string& StartMenu, const std::string& LinkPath,
                                               const TShellLink& Link);

} // namespace qnl
