// A second process that holds a lock on a file: how tests make a file "in use".
#pragma once

#include <sys/types.h>

#include <string>

namespace qnl::test {

// Holds an flock or fcntl lock on a file in a child process until Release or destruction.
class TLockHolder {
public:
  enum TKind { lkFlock, lkFcntl };
  TLockHolder(const std::string& UnixPath, TKind Kind = lkFlock);
  TLockHolder(const TLockHolder&) = delete;
  TLockHolder& operator=(const TLockHolder&) = delete;
  ~TLockHolder() { Release(); }
  void Release();

private:
  pid_t FPid = 0;
  int FRelease = -1;
};

} // namespace qnl::test
