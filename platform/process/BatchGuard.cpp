// Where the batch interpreter's commands may remove files.
#include "platform/process/BatchGuard.h"

#include <filesystem>
#include <system_error>

#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "platform/system/SystemInfo.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

namespace fs = std::filesystem;

std::string Resolved(const fs::path& UnixPath) {
  std::error_code ec;
  fs::path p = fs::weakly_canonical(UnixPath, ec);
  return (ec ? UnixPath : p).lexically_normal().string();
}

// The Unix file Path reaches: every directory above its last part resolved, the last part
// kept (Follow: resolved too, for a directory that is listed rather than removed).
std::string Reached(const std::string& WindowsPath, bool Follow) {
  fs::path unixPath = UnixPathOf(WindowsPath);
  if (Follow || !unixPath.has_filename()) return Resolved(unixPath);
  return (fs::path(Resolved(unixPath.parent_path())) / unixPath.filename()).string();
}

bool AtOrBelow(const std::string& Path, const std::string& Dir) {
  if (Path.compare(0, Dir.size(), Dir) != 0) return false;
  return Path.size() == Dir.size() || Dir.back() == '/' || Path[Dir.size()] == '/';
}

// Why the directory or file at Unix path Reached may not go: a drive's root, or the Windows
// or system folder, or a folder above them.
std::string ProtectedFolder(const std::string& Reached, const std::string& WindowsPath) {
  TDriveMap drives = CurrentDrives();
  for (char letter : drives.DefinedDriveLetters()) {
    std::optional<std::string> root = drives.DriveTarget(letter);
    if (root && Resolved(*root) == Reached) return Format("Refused: %s is the root of a drive", {WindowsPath});
  }
  for (const std::string& folder : {WindowsDirectory(), SystemDirectory()})
    if (AtOrBelow(Resolved(UnixPathOf(folder)), Reached))
      return Format("Refused: %s is or holds the folder %s", {WindowsPath, folder});
  return "";
}

} // namespace

std::string BatchRemovalRefusal(const std::string& Path, TBatchRemoval Kind) {
  std::string reached = Reached(Path, Kind == TBatchRemoval::brMatches);
  std::string refusal = ProtectedFolder(reached, Path);
  if (!refusal.empty()) return refusal;
  if (Kind == TBatchRemoval::brFile && DirectoryExists(Path))
    return Format("Refused: %s is a directory, and ERASE removes files only", {Path});
  if (Kind == TBatchRemoval::brTree) {
    std::string temp = TempDirectory();
    std::string tempReached = Resolved(UnixPathOf(temp));
    if (reached == tempReached || !AtOrBelow(reached, tempReached))
      return Format("Refused: %s is not below the temporary directory %s", {Path, temp});
  }
  return "";
}

} // namespace qnl
