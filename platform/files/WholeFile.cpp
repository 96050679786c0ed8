// Whole small files: read, and replaced through a temporary file and a rename.
#include "platform/files/WholeFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/OSError.h"
#include "platform/files/DirectoryListings.h"
#include "platform/files/FileLocks.h"
#include "platform/files/WinPaths.h"

namespace qnl {

namespace {

// Closes the descriptor and removes the temporary file unless the rename took it.
class TTemporaryFile {
public:
  explicit TTemporaryFile(std::string Path) : FPath(std::move(Path)) {
    FHandle = ::open(FPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  }
  ~TTemporaryFile() {
    if (FHandle >= 0) ::close(FHandle);
    if (!FKept) ::unlink(FPath.c_str());
  }
  TTemporaryFile(const TTemporaryFile&) = delete;
  TTemporaryFile& operator=(const TTemporaryFile&) = delete;

  bool Opened() const { return FHandle >= 0; }
  // 0, or the errno of the failing write, flush or close.
  int WriteAllAndClose(std::string_view Data) {
    size_t done = 0;
    while (done < Data.size()) {
      ssize_t n = ::write(FHandle, Data.data() + done, Data.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return n < 0 ? errno : ENOSPC;
      done += static_cast<size_t>(n);
    }
    int handle = FHandle;
    FHandle = -1;
    if (::fsync(handle) != 0) {
      int error = errno;
      ::close(handle);
      return error;
    }
    return ::close(handle) == 0 ? 0 : errno;
  }
  void Keep() { FKept = true; }

private:
  std::string FPath;
  int FHandle = -1;
  bool FKept = false;
};

} // namespace

void ReplaceFileContents(std::string_view FileName, std::string_view Data) {
  const std::string name(FileName);
  std::string unixPath = UnixPathOf(FileName);
  if (detail::LockedByOthers(unixPath)) RaiseFileError("write file", name, EWOULDBLOCK);
  const std::string temporaryPath = unixPath + ".qnl-" + std::to_string(::getpid()) + ".tmp";
  TTemporaryFile temporary(temporaryPath);
  if (!temporary.Opened()) RaiseLastFileError("create file", name);
  if (int error = temporary.WriteAllAndClose(Data)) RaiseFileError("write file", name, error);
  int renamed = ::rename(temporaryPath.c_str(), unixPath.c_str());
  int err = errno;
  detail::ForgetListingOf(unixPath);
  if (renamed != 0) RaiseFileError("write file", name, err);
  temporary.Keep();
}

std::optional<std::string> ReadFileContents(std::string_view FileName) {
  const std::string name(FileName);
  int handle = ::open(UnixPathOf(FileName).c_str(), O_RDONLY | O_CLOEXEC);
  if (handle < 0) {
    if (errno == ENOENT) return std::nullopt;
    RaiseLastFileError("open file", name);
  }
  std::string data;
  char buffer[16 * 1024];
  for (;;) {
    ssize_t n = ::read(handle, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int error = errno;
      ::close(handle);
      RaiseFileError("read file", name, error);
    }
    if (n == 0) break;
    data.append(buffer, static_cast<size_t>(n));
  }
  ::close(handle);
  return data;
}

} // namespace qnl
