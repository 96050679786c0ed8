// Listings of directories for case-insensitive look-ups, kept true by this process's changes.
#include "platform/files/DirectoryListings.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "rtl/SysUtils.h"

namespace qnl::detail {

namespace {

// What a directory's entries depend on: a new directory under the same name has another inode,
// and creating, renaming or removing an entry moves both times.
struct TStamp {
  dev_t Dev = 0;
  ino_t Ino = 0;
  struct timespec MTime {
  }, CTime{};
  bool operator==(const TStamp& O) const {
    return Dev == O.Dev && Ino == O.Ino && MTime.tv_sec == O.MTime.tv_sec && MTime.tv_nsec == O.MTime.tv_nsec &&
           CTime.tv_sec == O.CTime.tv_sec && CTime.tv_nsec == O.CTime.tv_nsec;
  }
};

std::optional<TStamp> StampOf(const std::string& Dir) {
  struct stat st;
  if (::stat(Dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
  return TStamp{st.st_dev, st.st_ino, st.st_mtim, st.st_ctim};
}

// The names of one directory by their upper-case form; names that differ only in case share
// a key, the first one read first.
struct TListing {
  TStamp Stamp;
  // The operation that last found Stamp current, and the one whose own changes moved the
  // directory's times since (they are taken when it ends); 0 for none.
  uint64_t CheckedIn = 0, PendingIn = 0;
  std::unordered_map<std::string, std::vector<std::string>> Names;

  void Add(const std::string& Name) {
    std::vector<std::string>& same = Names[UpperCase(Name)];
    if (std::find(same.begin(), same.end(), Name) == same.end()) same.push_back(Name);
  }
  void Remove(const std::string& Name) {
    auto it = Names.find(UpperCase(Name));
    if (it == Names.end()) return;
    std::erase(it->second, Name);
    if (it->second.empty()) Names.erase(it);
  }
};

// A handful of directories at a time: an installation fills one or a few at once.
constexpr size_t kMaxListings = 64;

std::mutex listingsMutex;
std::unordered_map<std::string, TListing> listings;

std::atomic<uint64_t> lastOperation{0};
thread_local int operationDepth = 0;
thread_local uint64_t currentOperation = 0;
// The directories this thread's operation changed, whose new times it takes at its end.
thread_local std::vector<std::string> pendingDirs;

// Whether Listing still tells Dir's entries: once per operation a look at Dir's times.
bool StillCurrent(TListing& Listing, const std::string& Dir) {
  if (Listing.CheckedIn == currentOperation) return true;
  if (StampOf(Dir) != Listing.Stamp) return false;
  Listing.CheckedIn = currentOperation;
  return true;
}

// Reads Dir; nullopt when it cannot be read or changed while it was read (then it is not
// kept, and the caller's answer comes from this one reading).
std::optional<TListing> ReadListing(const std::string& Dir, bool& Stable) {
  std::optional<TStamp> before = StampOf(Dir);
  DIR* d = before ? ::opendir(Dir.c_str()) : nullptr;
  if (!d) return std::nullopt;
  TListing listing;
  listing.Stamp = *before;
  listing.CheckedIn = currentOperation;
  while (dirent* e = ::readdir(d)) listing.Add(e->d_name);
  ::closedir(d);
  Stable = StampOf(Dir) == before;
  return listing;
}

std::pair<std::string, std::string> SplitPath(const std::string& UnixPath) {
  size_t slash = UnixPath.rfind('/');
  if (slash == std::string::npos) return {".", UnixPath};
  return {slash == 0 ? "/" : UnixPath.substr(0, slash), UnixPath.substr(slash + 1)};
}

} // namespace

std::optional<std::string> ListedEntryIgnoringCase(const std::string& Dir, std::string_view Name, bool* Listed) {
  std::string key = UpperCase(Name);
  TListingOperation operation;
  std::lock_guard lock(listingsMutex);
  if (Listed) *Listed = true;
  auto known = listings.find(Dir);
  if (known == listings.end() || !StillCurrent(known->second, Dir)) {
    if (known != listings.end()) listings.erase(known);
    bool stable = false;
    std::optional<TListing> read = ReadListing(Dir, stable);
    if (!read) {
      if (Listed) *Listed = false;
      return std::nullopt;
    }
    if (!stable) {
      auto it = read->Names.find(key);
      return it == read->Names.end() ? std::nullopt : std::optional(it->second.front());
    }
    if (listings.size() >= kMaxListings) listings.clear();
    known = listings.emplace(Dir, std::move(*read)).first;
  }
  auto it = known->second.Names.find(key);
  if (it == known->second.Names.end()) return std::nullopt;
  return it->second.front();
}

TListingOperation::TListingOperation() {
  if (operationDepth++ == 0) currentOperation = ++lastOperation;
}

TListingOperation::~TListingOperation() {
  if (--operationDepth > 0) return;
  if (!pendingDirs.empty()) {
    std::lock_guard lock(listingsMutex);
    for (const std::string& dir : pendingDirs) {
      auto known = listings.find(dir);
      if (known == listings.end() || known->second.PendingIn != currentOperation) continue;
      // The listing was current when this operation began changing the directory, so the
      // new times are this operation's.
      std::optional<TStamp> now = StampOf(dir);
      if (!now) {
        listings.erase(known);
        continue;
      }
      known->second.Stamp = *now;
      known->second.PendingIn = 0;
    }
    pendingDirs.clear();
  }
  currentOperation = 0;
}

TDirectoryChange::TDirectoryChange(const std::string& UnixPath) {
  std::tie(FDir, FName) = SplitPath(UnixPath);
  std::lock_guard lock(listingsMutex);
  auto known = listings.find(FDir);
  if (known == listings.end()) return;
  FCurrent = StillCurrent(known->second, FDir);
  if (!FCurrent) listings.erase(known);
}

void TDirectoryChange::Added() { Record(true); }

void TDirectoryChange::Removed() { Record(false); }

void TDirectoryChange::Record(bool Exists) {
  if (!FCurrent) return;
  FCurrent = false;
  std::lock_guard lock(listingsMutex);
  auto known = listings.find(FDir);
  if (known == listings.end()) return;
  if (Exists)
    known->second.Add(FName);
  else
    known->second.Remove(FName);
  if (known->second.PendingIn != currentOperation) {
    known->second.PendingIn = currentOperation;
    pendingDirs.push_back(FDir);
  }
}

void ForgetListingOf(const std::string& UnixPath) {
  std::string dir = SplitPath(UnixPath).first;
  std::lock_guard lock(listingsMutex);
  listings.erase(dir);
}

} // namespace qnl::detail

namespace qnl::detail {

bool ChangeEntryRecorded(const std::string& UnixPath, bool Exists, const std::function<bool()>& Change) {
  auto [dir, name] = SplitPath(UnixPath);
  std::lock_guard lock(listingsMutex);
  auto known = listings.find(dir);
  bool current = known != listings.end() && StampOf(dir) == known->second.Stamp;
  if (!Change()) return false;
  if (!current) return true;
  // The listing was current just before the change, and no other recorded change can come in
  // between: the new times are this change's.
  if (std::optional<TStamp> now = StampOf(dir)) {
    known->second.Stamp = *now;
    if (Exists)
      known->second.Add(name);
    else
      known->second.Remove(name);
  } else {
    listings.erase(known);
  }
  return true;
}

} // namespace qnl::detail
