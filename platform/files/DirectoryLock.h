// An exclusive claim on a directory that other processes can test.
#pragma once

#include <memory>
#include <string_view>

namespace qnl {

// Who keeps a claim alive besides the process that took it.
enum class TLockInheritance {
  liThisProcess,    // only this process
  liStartedPrograms // also every program this process starts afterwards, and theirs
};

// Holds an exclusive claim on one directory while it lives. The system gives the claim up
// when the last process holding it ends, however it ends (a kill included), so a claim that
// can be taken marks a directory nobody works in any more. The claim does not keep the
// directory from being removed.
class TDirectoryLock {
public:
  // Takes the claim on Dir; null when another holder has it. Dir itself must be a directory,
  // not a symbolic link to one. EInOutError when it cannot be opened.
  static std::unique_ptr<TDirectoryLock> TryLock(std::string_view Dir, TLockInheritance Inheritance);
  ~TDirectoryLock();
  TDirectoryLock(const TDirectoryLock&) = delete;
  TDirectoryLock& operator=(const TDirectoryLock&) = delete;

private:
  explicit TDirectoryLock(int Handle) : FHandle(Handle) {}
  int FHandle;
};

} // namespace qnl
