// Internal to platform/files: what mapping a Windows path saw of the entry it names, so that the
// operation on the path does not look at it again.
#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>

#include "platform/files/FileStream.h"

namespace qnl::detail {

// The identity a stat() result gives.
inline TFileIdentity IdentityOfStat(const struct stat& St) {
  auto ns = [](const struct timespec& T) { return int64_t(T.tv_sec) * 1000000000 + T.tv_nsec; };
  return {uint64_t(St.st_dev), uint64_t(St.st_ino), int64_t(St.st_size), ns(St.st_mtim), ns(St.st_ctim)};
}

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
