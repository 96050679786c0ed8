// Which recorded paths an uninstall may remove.
#include "uninstall/RecordedPaths.h"

#include <cctype>

#include "platform/files/WinPaths.h"
#include "rtl/Exceptions.h"

namespace qnl {

namespace {

// "X:\a\b" with a letter, a backslash, and no empty, "." or ".." step.
bool IsFullWindowsPath(const std::string& Path) {
  if (Path.size() < 4 || !std::isalpha(static_cast<unsigned char>(Path[0])) || Path[1] != ':' || Path[2] != '\\')
    return false;
  size_t start = 3;
  while (start <= Path.size()) {
    size_t end = Path.find_first_of("\\/", start);
    if (end == std::string::npos) end = Path.size();
    std::string step = Path.substr(start, end - start);
    if (step.empty() || step == "." || step == "..") return false;
    start = end + 1;
  }
  return true;
}

// What a shortcut's desktop menu entry writes below the data home (see WriteDesktopMenuEntry).
bool IsDesktopMenuFile(const std::string& UnixPath) {
  size_t slash = UnixPath.rfind('/');
  std::string dir = UnixPath.substr(0, slash == std::string::npos ? 0 : slash + 1);
  std::string name = UnixPath.substr(slash == std::string::npos ? 0 : slash + 1);
  if (UnixPath.find("/applications/quenloft/") != std::string::npos && name.ends_with(".desktop")) return true;
  if (dir.ends_with("/desktop-directories/") && name.starts_with("quenloft-") && name.ends_with(".directory"))
    return true;
  return dir.ends_with("/icons/quenloft/") && !name.empty();
}

} // namespace

std::optional<TRecordedPlace> PlaceOfRecordedPath(const std::string& Path) {
  if (!IsFullWindowsPath(Path)) return std::nullopt;
  if (std::toupper(static_cast<unsigned char>(Path[0])) == 'C') return TRecordedPlace::rpMachine;
  try {
    if (IsDesktopMenuFile(UnixPathOf(Path))) return TRecordedPlace::rpDesktopMenu;
  } catch (const Exception&) {
    // A drive this machine does not have: nothing of it can be accounted for.
  }
  return std::nullopt;
}

} // namespace qnl
