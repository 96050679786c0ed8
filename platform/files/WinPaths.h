// Windows paths of the machine and the Unix paths behind them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qnl {

namespace detail {
struct TEntryLook;
}

// The drives of one machine directory: each letter is a dosdevices/x: link to a Unix
// directory. Mapping never creates anything; a missing tail keeps its spelling.
class TDriveMap {
public:
  explicit TDriveMap(std::string MachineDir);

  const std::string& MachineDir() const { return FMachineDir; }
  // The letters of dosdevices' drive entries, upper case, in order.
  std::string DefinedDriveLetters() const;
  // The Unix directory drive Letter points to (symlinks resolved), or nullopt when the
  // machine has no such drive.
  std::optional<std::string> DriveTarget(char Letter) const;
  // "C:\Program Files\app.exe" -> ".../drive_c/Program Files/app.exe". "/" is accepted as
  // a separator; each existing component is matched ignoring case and keeps its own case,
  // the rest is used as written. A path without a drive is taken relative to the current
  // directory. EPathError for an unknown drive, a UNC path or a relative drive path ("C:x").
  std::string UnixPath(std::string_view WindowsPath) const;
  // The Windows path of a Unix path: the drive whose target is the longest prefix, else Z:.
  // Relative Unix paths are taken from the process's current directory.
  std::string WindowsPath(std::string_view UnixPath) const;
  // UnixPath, telling in Look (when given) what it saw of the last entry.
  std::string UnixPath(std::string_view WindowsPath, detail::TEntryLook* Look) const;

private:
  std::string FMachineDir;
};

// While one lives (an installation's pass holds one), a drive link once resolved is taken as it
// was, without a look at the link for every path. ForgetDriveLinks makes the next path look
// again: a disk was asked for, and the drive may now point elsewhere.
class TDriveLinksHeld {
public:
  TDriveLinksHeld();
  ~TDriveLinksHeld();
  TDriveLinksHeld(const TDriveLinksHeld&) = delete;
  TDriveLinksHeld& operator=(const TDriveLinksHeld&) = delete;
};
void ForgetDriveLinks();

// The drive map of the machine this process works on (TMachine::Current()).
TDriveMap CurrentDrives();
// Shorthands for CurrentDrives().UnixPath / WindowsPath.
std::string UnixPathOf(std::string_view WindowsPath);
std::string WindowsPathOf(std::string_view UnixPath);
// Normalises a Windows path: "/" becomes "\", "." and ".." components are resolved, a drive
// letter is upper-cased, repeated separators collapse. No file system access.
std::string NormalizeWindowsPath(std::string_view WindowsPath);
// The process's current directory as a Windows path.
std::string GetCurrentDir();

} // namespace qnl
