// Internal to platform/files: what mapping a Windows path saw of the entry it names, so that the
// operation on the path does not look at it again.
#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>

namespace qnl::detail {

struct TEntryLook {
  enum TState { elUnknown, elAbsent, elPresent };
  TState State = elUnknown;
  struct stat Entry {}; // the entry itself, a link not followed, when elPresent

  // stat() of UnixPath, the path the look was made for: from the look unless the entry is a
  // link or was not looked at.
  bool Follow(const std::string& UnixPath, struct stat& St) const;
};

// UnixPathOf, telling in Look what it saw of the last entry.
std::string UnixPathLooking(std::string_view WindowsPath, TEntryLook& Look);

} // namespace qnl::detail
