// A second process that holds a lock on a file.
#include "tests/support/LockHolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace qnl::test {

TLockHolder::TLockHolder(const std::string& UnixPath, TKind Kind) {
  int ready[2], release[2];
  EXPECT_EQ(::pipe(ready), 0);
  EXPECT_EQ(::pipe(release), 0);
  FPid = ::fork();
  if (FPid == 0) {
    ::close(ready[0]);
    ::close(release[1]);
    int fd = ::open(UnixPath.c_str(), O_RDWR);
    bool locked = false;
    if (fd >= 0 && Kind == lkFlock) locked = ::flock(fd, LOCK_EX) == 0;
    if (fd >= 0 && Kind == lkFcntl) {
      struct flock fl {};
      fl.l_type = F_WRLCK;
      fl.l_whence = SEEK_SET;
      locked = ::fcntl(fd, F_SETLK, &fl) == 0;
    }
    char c = locked ? 'y' : 'n';
    (void)!::write(ready[1], &c, 1);
    (void)!::read(release[0], &c, 1);
    ::_exit(0);
  }
  ::close(ready[1]);
  ::close(release[0]);
  FRelease = release[1];
  char c = 0;
  EXPECT_EQ(::read(ready[0], &c, 1), 1);
  EXPECT_EQ(c, 'y');
  ::close(ready[0]);
}

void TLockHolder::Release() {
  if (FPid <= 0) return;
  ::close(FRelease);
  int status = 0;
  ::waitpid(FPid, &status, 0);
  FPid = 0;
}

} // namespace qnl::test
