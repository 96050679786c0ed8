// A stream over a file named by its Windows path.
#include "platform/files/FileStream.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/OSError.h"
#include "platform/files/DirectoryListings.h"
#include "platform/files/EntryLook.h"
#include "platform/files/FileLocks.h"
#include "platform/files/WinPaths.h"

namespace qnl {

QNL_BEGIN_CLASS(TFileStream);
QNL_END_CLASS

TFileStream::TFileStream(const std::string& FileName, uint16_t Mode) : FFileName(FileName) {
  detail::TListingOperation operation;
  detail::TEntryLook look;
  std::string unixPath = detail::UnixPathLooking(FileName, look);
  bool create = (Mode & 0xFF00) == fmCreate;
  int access = Mode & 0x3;
  int flags = O_CLOEXEC;
  if (create)
    flags |= O_RDWR | O_CREAT;
  else if (access == fmOpenWrite)
    flags |= O_WRONLY;
  else if (access == fmOpenReadWrite)
    flags |= O_RDWR;
  else
    flags |= O_RDONLY;
  bool writing = create || access != fmOpenRead;
  // A file the mapping found missing is made new: nobody holds it, and it needs no emptying.
  // Should it have come meanwhile, it is opened as an existing one below.
  bool fresh = false;
  if (create && look.State == detail::TEntryLook::elAbsent) {
    detail::TDirectoryChange creation(unixPath);
    FHandle = ::open(unixPath.c_str(), flags | O_EXCL, 0666);
    fresh = FHandle >= 0;
    if (fresh) creation.Added();
    if (!fresh && errno != EEXIST) RaiseLastFileError("create file", FileName);
  }
  if (!fresh) {
    if (writing && detail::LockedByOthers(unixPath))
      RaiseFileError(create ? "create file" : "open file for writing", FileName, EWOULDBLOCK);
    detail::TDirectoryChange creation(unixPath);
    FHandle = ::open(unixPath.c_str(), flags, 0666);
    if (FHandle >= 0 && create) creation.Added();
    if (FHandle < 0) {
      if (create) RaiseLastFileError("create file", FileName);
      RaiseLastFileError("open file", FileName);
    }
  }
  // Only reading opens a directory: opening one for writing fails by itself.
  struct stat st;
  if (!writing && ::fstat(FHandle, &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      ::close(FHandle);
      FHandle = -1;
      RaiseFileError("open file", FileName, EISDIR);
    }
    FOpened = detail::IdentityOfStat(st);
  }
  int share = Mode & 0x00F0;
  int lockOp = 0;
  if (share == fmShareExclusive || share == fmShareDenyRead)
    lockOp = LOCK_EX;
  else if (share == fmShareDenyWrite)
    lockOp = LOCK_SH;
  if (lockOp != 0 && ::flock(FHandle, lockOp | LOCK_NB) != 0) {
    int err = errno;
    ::close(FHandle);
    FHandle = -1;
    RaiseFileError("open file", FileName, err);
  }
  if (create && !fresh && ::ftruncate(FHandle, 0) != 0) {
    int err = errno;
    ::close(FHandle);
    FHandle = -1;
    RaiseFileError("create file", FileName, err);
  }
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

int64_t TFileStream::Read(void* Buffer, int64_t Count) {
  if (Count <= 0) return 0;
  char* p = static_cast<char*>(Buffer);
  int64_t done = 0;
  while (done < Count) {
    ssize_t n = ::read(FHandle, p + done, static_cast<size_t>(Count - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      RaiseLastFileError("read file", FFileName);
    }
    if (n == 0) break;
    done += n;
    FPos += n;
  }
  return done;
}

int64_t TFileStream::ReadAt(void* Buffer, int64_t Count, int64_t Offset) const {
  if (Count <= 0) return 0;
  char* p = static_cast<char*>(Buffer);
  int64_t done = 0;
  while (done < Count) {
    ssize_t n = ::pread(FHandle, p + done, static_cast<size_t>(Count - done), static_cast<off_t>(Offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      RaiseLastFileError("read file", FFileName);
    }
    if (n == 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Write(const void* Buffer, int64_t Count) {
  if (Count <= 0) return 0;
  const char* p = static_cast<const char*>(Buffer);
  int64_t done = 0;
  while (done < Count) {
    ssize_t n = ::write(FHandle, p + done, static_cast<size_t>(Count - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      RaiseLastFileError("write file", FFileName);
    }
    done += n;
    FPos += n;
  }
  return done;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  // Asking where the stream is (Position) needs no system call: the stream keeps count.
  if (Origin == soCurrent && Offset == 0) return FPos;
  int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
  off_t r = ::lseek(FHandle, static_cast<off_t>(Offset), whence);
  if (r < 0) RaiseLastFileError("seek in file", FFileName);
  FPos = r;
  return r;
}

int64_t TFileStream::Size() const {
  struct stat st;
  if (::fstat(FHandle, &st) != 0) RaiseLastFileError("get the size of file", FFileName);
  return st.st_size;
}

TFileIdentity TFileStream::Identity() const {
  struct stat st;
  if (::fstat(FHandle, &st) != 0) RaiseLastFileError("get the size of file", FFileName);
  return detail::IdentityOfStat(st);
}

void TFileStream::SetSize(int64_t NewSize) {
  if (::ftruncate(FHandle, static_cast<off_t>(NewSize)) != 0) RaiseLastFileError("set the size of file", FFileName);
  if (Position() > NewSize) Seek(NewSize, soBeginning);
}

void TFileStream::Flush() {
  if (::fsync(FHandle) != 0) RaiseLastFileError("flush file", FFileName);
}

} // namespace qnl
