// Files written ahead on worker threads.
#include "platform/files/FilesAhead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/files/DirectoryListings.h"
#include "platform/files/WinPaths.h"
#include "rtl/SysUtils.h"

namespace qnl {

std::optional<std::string> HostPathFor(std::string_view WindowsPath) {
  try {
    return UnixPathOf(WindowsPath);
  } catch (const Exception&) {
    return std::nullopt;
  }
}

bool MakeHostDirectories(const std::string& HostDir, std::vector<std::string>& Made) {
  struct stat st;
  if (::stat(HostDir.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  size_t slash = HostDir.rfind('/');
  if (slash == std::string::npos || slash == 0) return false;
  if (!MakeHostDirectories(HostDir.substr(0, slash), Made)) return false;
  bool made = detail::ChangeEntryRecorded(HostDir, true, [&] { return ::mkdir(HostDir.c_str(), 0777) == 0; });
  if (made) Made.push_back(HostDir);
  // Another thread or program may have made it meanwhile.
  return made || (errno == EEXIST && ::stat(HostDir.c_str(), &st) == 0 && S_ISDIR(st.st_mode));
}

bool RemoveEmptyHostDirectory(const std::string& HostDir) {
  return detail::ChangeEntryRecorded(HostDir, false, [&] { return ::rmdir(HostDir.c_str()) == 0; });
}

bool RemoveHostFile(const std::string& HostPath) {
  return detail::ChangeEntryRecorded(HostPath, false, [&] { return ::unlink(HostPath.c_str()) == 0; }) ||
         errno == ENOENT;
}

THostFileAhead::~THostFileAhead() {
  if (FHandle >= 0) ::close(FHandle);
}

bool THostFileAhead::Create(const std::string& HostPath) {
  return detail::ChangeEntryRecorded(HostPath, true, [&] {
    FHandle = ::open(HostPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    return FHandle >= 0;
  });
}

bool THostFileAhead::Write(const void* Buffer, size_t Count) {
  const char* p = static_cast<const char*>(Buffer);
  while (Count > 0) {
    ssize_t n = ::write(FHandle, p, Count);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    Count -= static_cast<size_t>(n);
  }
  return true;
}

bool THostFileAhead::Finish(const struct timespec& Time) {
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1] = Time;
  bool dated = ::futimens(FHandle, times) == 0;
  // A close that fails may have lost written bytes (on a network disk).
  bool closed = ::close(FHandle) == 0;
  FHandle = -1;
  return dated && closed;
}

} // namespace qnl
