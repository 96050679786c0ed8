// Internal to platform/files: the listings of the directories this process looks names up in.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qnl::detail {

// The entry of the Unix directory Dir whose name equals Name ignoring (ASCII) case; nullopt
// when none does or Dir cannot be read. Answered from a listing kept per directory: it is
// trusted only while the directory's identity and modification and change times are the ones
// seen when it was read or last changed through TDirectoryChange, so another process's change
// (which moves those times) makes it read again. Listed, when given, tells whether Dir is a
// directory that could be read.
std::optional<std::string> ListedEntryIgnoringCase(const std::string& Dir, std::string_view Name,
                                                   bool* Listed = nullptr);

// One operation of the file services (a look-up, a creation, a move). While it lasts, a listing
// is checked against its directory's times once, at its first use, and the directory's new
// times after this operation's own changes are taken once, when it ends. So a change another
// process makes is noticed by the next operation that uses the listing; one made while an
// operation of ours changes the same directory (between its first look and its end) is taken
// for ours, as it would be between any change and the look at the times after it. Operations
// nest: only the outermost one counts.
class TListingOperation {
public:
  TListingOperation();
  ~TListingOperation();
  TListingOperation(const TListingOperation&) = delete;
  TListingOperation& operator=(const TListingOperation&) = delete;
};

// One change this process makes to an entry of a directory, keeping that directory's listing
// true without reading it again. Made right before the change (it checks that the listing is
// still current, unless this operation checked it already); Added or Removed once the change
// succeeded. Without either, nothing is recorded and the next look-up sees the directory's new
// times.
class TDirectoryChange {
public:
  explicit TDirectoryChange(const std::string& UnixPath);
  void Added();   // the entry now exists under its name
  void Removed(); // the entry is gone

private:
  void Record(bool Exists);

  TListingOperation FOperation; // first: it outlives the record of the change
  std::string FDir, FName;
  bool FCurrent = false;
};

// Forgets the listing of the directory holding UnixPath, for a change made some other way.
void ForgetListingOf(const std::string& UnixPath);

} // namespace qnl::detail

namespace qnl::detail {

// Makes a change to the entry UnixPath (Change: true when it was made) and records it in its
// directory's listing in one step under the listings' lock, for changes other threads make
// while this one looks names up. Exists tells what the change left. A listing that is not
// current is left for the next look-up to judge.
bool ChangeEntryRecorded(const std::string& UnixPath, bool Exists, const std::function<bool()>& Change);

} // namespace qnl::detail
