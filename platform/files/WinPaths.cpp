// Windows paths of the machine and the Unix paths behind them.
#include "platform/files/WinPaths.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <vector>

#include "platform/Machine.h"
#include "platform/OSError.h"
#include "platform/files/DirectoryListings.h"
#include "platform/files/EntryLook.h"
#include "platform/files/ShortNameMatch.h"
#include "platform/system/CodePage.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

bool IsSeparator(char C) { return C == '\\' || C == '/'; }

bool PathExists(const std::string& UnixPath) {
  struct stat st;
  return ::lstat(UnixPath.c_str(), &st) == 0;
}

// The entry of directory dir whose name equals name ignoring case, preferring an exact match;
// like Wine, a name in 8.3 form also finds the entry whose short name it is.
std::optional<std::string> FindEntryIgnoringCase(const std::string& Dir, const std::string& Name) {
  std::string exact = Dir == "/" ? "/" + Name : Dir + "/" + Name;
  if (PathExists(exact)) return Name;
  bool maybeShort = Name.find('~') != std::string::npos && detail::IsLegal83Utf8(Name);
  // Reading a directory of many files for each new name would make filling it quadratic.
  if (!maybeShort) return detail::ListedEntryIgnoringCase(Dir, Name);
  DIR* d = ::opendir(Dir.c_str());
  if (!d) return std::nullopt;
  std::optional<std::string> found;
  std::optional<std::string> byShortName;
  while (dirent* e = ::readdir(d)) {
    if (SameText(e->d_name, Name)) {
      found = e->d_name;
      break;
    }
    if (!byShortName && !detail::IsLegal83Utf8(e->d_name) && SameText(detail::ShortNameOfUnixEntry(e->d_name), Name))
      byShortName = e->d_name;
  }
  ::closedir(d);
  return found ? found : byShortName;
}

// For a path whose exact spelling does not exist: the entry of Dir that FindEntryIgnoringCase
// would find; DirFound tells whether Dir is a directory. Most new names cost one look at Dir.
std::optional<std::string> FindOtherSpelling(const std::string& Dir, const std::string& Name, bool& DirFound) {
  if (Name.find('~') == std::string::npos || !detail::IsLegal83Utf8(Name))
    return detail::ListedEntryIgnoringCase(Dir, Name, &DirFound);
  DirFound = PathExists(Dir);
  return DirFound ? FindEntryIgnoringCase(Dir, Name) : std::nullopt;
}

// Splits the part after the drive into components; "." vanishes, ".." goes up but not above
// the root.
std::vector<std::string> Components(std::string_view Rest) {
  std::vector<std::string> parts;
  std::string current;
  auto flush = [&] {
    if (current.empty() || current == ".") {
    } else if (current == "..") {
      if (!parts.empty()) parts.pop_back();
    } else {
      // Windows drops trailing dots and blanks of a component.
      while (!current.empty() && (current.back() == '.' || current.back() == ' ')) current.pop_back();
      if (!current.empty()) parts.push_back(current);
    }
    current.clear();
  };
  for (char c : Rest) {
    if (IsSeparator(c))
      flush();
    else
      current += c;
  }
  flush();
  return parts;
}

// Strips the NT prefixes "\??\" and "\\?\" that delayed moves and long-path callers use.
std::string_view StripNtPrefix(std::string_view Path) {
  if (Path.size() >= 4 && IsSeparator(Path[0]) && (Path[1] == '?' || IsSeparator(Path[1])) && Path[2] == '?' &&
      IsSeparator(Path[3]))
    return Path.substr(4);
  return Path;
}

std::string CanonicalUnix(const std::string& UnixPath) {
  std::error_code ec;
  auto p = std::filesystem::weakly_canonical(std::filesystem::path(UnixPath), ec);
  if (ec) return UnixPath;
  std::string s = p.string();
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

} // namespace

TDriveMap::TDriveMap(std::string MachineDir) : FMachineDir(std::move(MachineDir)) {}

namespace {
struct TResolvedLink {
  std::string Text, Target;
};
struct TResolvedLinks {
  std::map<std::string, TResolvedLink> Links;
  int Holders = 0;
};
TResolvedLinks& ResolvedLinks() {
  static TResolvedLinks links;
  return links;
}
} // namespace

TDriveLinksHeld::TDriveLinksHeld() { ++ResolvedLinks().Holders; }

TDriveLinksHeld::~TDriveLinksHeld() { --ResolvedLinks().Holders; }

void ForgetDriveLinks() { ResolvedLinks().Links.clear(); }

std::optional<std::string> TDriveMap::DriveTarget(char Letter) const {
  if (!std::isalpha(static_cast<unsigned char>(Letter))) return std::nullopt;
  std::string link = FMachineDir + "/dosdevices/" + char(std::tolower(static_cast<unsigned char>(Letter))) + ":";
  // Every path goes through here: a link whose text is unchanged resolves as it did
  // before, without walking its whole path again (a re-pointed link, as a disk swap makes
  // it, has a new text and is resolved anew). While the links are held, not even the text is
  // read again.
  TResolvedLinks& links = ResolvedLinks();
  auto& resolved = links.Links;
  if (links.Holders > 0)
    if (auto known = resolved.find(link); known != resolved.end()) return known->second.Target;
  char text[PATH_MAX];
  ssize_t n = ::readlink(link.c_str(), text, sizeof text);
  std::string linkText = n >= 0 ? std::string(text, static_cast<size_t>(n)) : std::string();
  auto known = resolved.find(link);
  // Checked to be a directory when resolved: one that vanished since fails the operation that
  // uses it, naming the path.
  if (n >= 0 && known != resolved.end() && known->second.Text == linkText) return known->second.Target;
  char full[PATH_MAX];
  if (!::realpath(link.c_str(), full)) return std::nullopt;
  struct stat st;
  if (::stat(full, &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
  if (n >= 0) resolved[link] = {linkText, full};
  return std::string(full);
}

std::string TDriveMap::DefinedDriveLetters() const {
  // One listing of dosdevices instead of resolving all 26 letters: most are not defined.
  std::string letters;
  if (DIR* dir = ::opendir((FMachineDir + "/dosdevices").c_str())) {
    while (const struct dirent* entry = ::readdir(dir)) {
      const char* name = entry->d_name;
      if (std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':' && name[2] == '\0')
        letters += static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    }
    ::closedir(dir);
  }
  std::sort(letters.begin(), letters.end());
  letters.erase(std::unique(letters.begin(), letters.end()), letters.end());
  return letters;
}

std::string TDriveMap::UnixPath(std::string_view WindowsPath) const { return UnixPath(WindowsPath, nullptr); }

std::string TDriveMap::UnixPath(std::string_view WindowsPath, detail::TEntryLook* Look) const {
  detail::TListingOperation operation;
  std::string_view path = StripNtPrefix(WindowsPath);
  if (path.empty()) throw EPathError("An empty path cannot be used");
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]))
    throw EPathError(Format("Network (UNC) paths are not supported on this machine: %s", {std::string(WindowsPath)}));
  std::string full;
  if (path.size() >= 2 && path[1] == ':') {
    if (!std::isalpha(static_cast<unsigned char>(path[0])))
      throw EPathError(Format("Invalid drive in path: %s", {std::string(WindowsPath)}));
    if (path.size() > 2 && !IsSeparator(path[2]))
      throw EPathError(
          Format("A path relative to a drive's current directory is not supported: %s", {std::string(WindowsPath)}));
    full = std::string(path);
  } else {
    std::string cwd = TDriveMap::WindowsPath(std::filesystem::current_path().string());
    if (IsSeparator(path[0]))
      full = cwd.substr(0, 2) + std::string(path);
    else
      full = cwd + "\\" + std::string(path);
  }
  char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(full[0])));
  auto target = DriveTarget(letter);
  if (!target)
    throw EPathError(Format("The drive %s: does not exist on this machine (%s)",
                            {std::string(1, letter), std::string(WindowsPath)}));
  std::vector<std::string> names;
  for (const std::string& part : Components(std::string_view(full).substr(2))) names.push_back(AnsiToUtf8(part));
  auto join = [&](size_t Count) {
    std::string joined = *target;
    for (size_t i = 0; i < Count; ++i) joined = joined == "/" ? "/" + names[i] : joined + "/" + names[i];
    return joined;
  };
  // Most paths are spelled as they exist: one look at the whole path, or at its directory
  // for a file about to be made, saves matching every component.
  if (!names.empty()) {
    std::string whole = join(names.size());
    struct stat st;
    if (::lstat(whole.c_str(), &st) == 0) {
      if (Look) *Look = {detail::TEntryLook::elPresent, st};
      return whole;
    }
    bool absent = errno == ENOENT;
    std::string dir = join(names.size() - 1);
    bool dirFound = false;
    std::optional<std::string> found = FindOtherSpelling(dir, names.back(), dirFound);
    if (dirFound && found) return dir == "/" ? "/" + *found : dir + "/" + *found;
    if (dirFound) {
      if (Look && absent) Look->State = detail::TEntryLook::elAbsent;
      return whole;
    }
  }
  std::string result = *target;
  bool existing = true;
  for (std::string name : names) {
    if (existing) {
      if (auto found = FindEntryIgnoringCase(result, name))
        name = *found;
      else
        existing = false;
    }
    result = result == "/" ? "/" + name : result + "/" + name;
  }
  return result;
}

std::string TDriveMap::WindowsPath(std::string_view UnixPath) const {
  std::string absolute(UnixPath);
  if (absolute.empty() || absolute[0] != '/') absolute = std::filesystem::current_path().string() + "/" + absolute;
  std::string canonical = CanonicalUnix(absolute);
  char bestLetter = 'Z';
  std::string bestTarget = "/";
  for (char letter : DefinedDriveLetters()) {
    auto target = DriveTarget(letter);
    if (!target) continue;
    const std::string& t = *target;
    bool inside = t == "/" || canonical == t ||
                  (canonical.size() > t.size() && canonical.compare(0, t.size(), t) == 0 && canonical[t.size()] == '/');
    if (!inside) continue;
    // Longest target wins; between equal targets the earlier letter (C: before Z:).
    if (t.size() > bestTarget.size() || (t == "/" && bestTarget == "/" && letter < bestLetter)) {
      bestLetter = letter;
      bestTarget = t;
    }
  }
  std::string rest =
      bestTarget == "/" ? canonical.substr(1) : canonical.substr(std::min(canonical.size(), bestTarget.size() + 1));
  for (char& c : rest)
    if (c == '/') c = '\\';
  return std::string(1, bestLetter) + ":\\" + Utf8ToAnsi(rest);
}

TDriveMap CurrentDrives() { return TDriveMap(TMachine::Current().Directory()); }

std::string UnixPathOf(std::string_view WindowsPath) { return CurrentDrives().UnixPath(WindowsPath); }

namespace detail {

std::string UnixPathLooking(std::string_view WindowsPath, TEntryLook& Look) {
  return CurrentDrives().UnixPath(WindowsPath, &Look);
}

bool TEntryLook::Follow(const std::string& UnixPath, struct stat& St) const {
  if (State == elAbsent) return false;
  if (State == elPresent && !S_ISLNK(Entry.st_mode)) {
    St = Entry;
    return true;
  }
  return ::stat(UnixPath.c_str(), &St) == 0;
}

} // namespace detail

std::string WindowsPathOf(std::string_view UnixPath) { return CurrentDrives().WindowsPath(UnixPath); }

std::string NormalizeWindowsPath(std::string_view WindowsPath) {
  std::string_view path = StripNtPrefix(WindowsPath);
  std::string prefix;
  if (path.size() >= 2 && path[1] == ':') {
    prefix = std::string(1, char(std::toupper(static_cast<unsigned char>(path[0])))) + ":";
    path = path.substr(2);
  }
  bool rooted = !path.empty() && IsSeparator(path[0]);
  std::string result = prefix + (rooted ? "\\" : "");
  bool first = true;
  for (const std::string& part : Components(path)) {
    if (!first) result += "\\";
    result += part;
    first = false;
  }
  return result;
}

std::string GetCurrentDir() { return WindowsPathOf(std::filesystem::current_path().string()); }

} // namespace qnl
