// Internal to platform/files: the in-use test on a Unix path.
#pragma once

#include <string>

namespace qnl::detail {

// True while some holder other than the caller's own open descriptors has a lock on the file:
// an fcntl (POSIX or open-file-description) lock of another process, or a flock held through
// another open file description.
bool LockedByOthers(const std::string& UnixPath);

} // namespace qnl::detail
