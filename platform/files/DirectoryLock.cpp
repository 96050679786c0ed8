// A claim on a directory: flock on the directory itself.
#include "platform/files/DirectoryLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/OSError.h"
#include "platform/files/WinPaths.h"

namespace qnl {

std::unique_ptr<TDirectoryLock> TDirectoryLock::TryLock(std::string_view Dir, TLockInheritance Inheritance) {
  // An inherited descriptor shares the lock: it lasts until every program that got it has ended.
  int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | (Inheritance == TLockInheritance::liThisProcess ? O_CLOEXEC : 0);
  int handle = ::open(UnixPathOf(Dir).c_str(), flags);
  if (handle < 0) RaiseLastFileError("lock directory", std::string(Dir));
  if (::flock(handle, LOCK_EX | LOCK_NB) == 0) return std::unique_ptr<TDirectoryLock>(new TDirectoryLock(handle));
  int err = errno;
  ::close(handle);
  if (err == EWOULDBLOCK) return nullptr;
  RaiseFileError("lock directory", std::string(Dir), err);
}

TDirectoryLock::~TDirectoryLock() { ::close(FHandle); }

} // namespace qnl
