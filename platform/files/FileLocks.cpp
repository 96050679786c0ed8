// The in-use test: a file counts as in use while another holder has a lock on it.
#include "platform/files/FileLocks.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace qnl::detail {

bool LockedByOthers(const std::string& UnixPath) {
  // O_RDONLY is enough for flock and for asking about write locks.
  int fd = ::open(UnixPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return false;
  bool locked = false;
  // Open-file-description locks report POSIX locks of other processes as well, and closing
  // this descriptor does not drop POSIX locks the caller may hold on the same file the way a
  // probe with F_SETLK would.
  struct flock fl {};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = 0;
  fl.l_len = 0;
  if (::fcntl(fd, F_OFD_GETLK, &fl) == 0 && fl.l_type != F_UNLCK) locked = true;
  if (!locked) {
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      if (errno == EWOULDBLOCK) locked = true;
    } else {
      ::flock(fd, LOCK_UN);
    }
  }
  ::close(fd);
  return locked;
}

} // namespace qnl::detail
