// Files and directories named by Windows paths.
#include "platform/files/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <optional>

#include "platform/OSError.h"
#include "platform/files/DirectoryListings.h"
#include "platform/files/EntryLook.h"
#include "platform/files/FileLocks.h"
#include "platform/files/FilesAhead.h"
#include "platform/files/WinPaths.h"
#include "platform/system/CodePage.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

std::optional<std::string> TryUnixPath(std::string_view Path, detail::TEntryLook& Look) {
  try {
    return detail::UnixPathLooking(Path, Look);
  } catch (const EPathError&) {
    return std::nullopt;
  }
}

// stat() of a Windows path, from the look its mapping took where it can.
bool StatOf(std::string_view Path, struct stat& St) {
  detail::TEntryLook look;
  auto unixPath = TryUnixPath(Path, look);
  return unixPath && look.Follow(*unixPath, St);
}

TDateTime LocalDateTimeOf(const struct timespec& Ts) {
  time_t seconds = Ts.tv_sec;
  struct tm local {};
  ::localtime_r(&seconds, &local);
  TDateTime date = 0;
  if (!TryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, date)) return 0;
  double timeOfDay = (local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + Ts.tv_nsec / 1e9) / 86400.0;
  return date >= 0 ? date + timeOfDay : date - timeOfDay;
}

// mktime() of Local (tm_isdst -1) without the look at the zone file glibc's mktime takes on every
// call: a local time whose zone offset is the same a day before and a day after names exactly one
// instant, the one that offset gives, which is what mktime finds for it too. Times near a change
// of the offset (summer time) are left to mktime. Nullopt when it cannot tell.
std::optional<time_t> SteadyLocalTime(const struct tm& Local) {
  struct tm fields = Local;
  time_t asUtc = ::timegm(&fields);
  if (asUtc == static_cast<time_t>(-1)) return std::nullopt;
  auto offsetAt = [](time_t T, struct tm& Out) { return ::localtime_r(&T, &Out) ? Out.tm_gmtoff : LONG_MIN; };
  struct tm seen {};
  time_t t = asUtc - offsetAt(asUtc, seen);
  long offset = offsetAt(t, seen);
  if (offset == LONG_MIN) return std::nullopt;
  t = asUtc - offset;
  struct tm before {
  }, after{};
  if (offsetAt(t, seen) != offset || offsetAt(t - 86400, before) != offset || offsetAt(t + 86400, after) != offset)
    return std::nullopt;
  bool same = seen.tm_year == Local.tm_year && seen.tm_mon == Local.tm_mon && seen.tm_mday == Local.tm_mday &&
              seen.tm_hour == Local.tm_hour && seen.tm_min == Local.tm_min && seen.tm_sec == Local.tm_sec;
  return same ? std::optional(t) : std::nullopt;
}

struct timespec TimespecOfLocal(TDateTime Time, const std::string& FileName) {
  int year, month, day, hour, minute, second, msec;
  DecodeDate(Time, year, month, day);
  DecodeTime(Time, hour, minute, second, msec);
  struct tm local {};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  std::optional<time_t> steady = SteadyLocalTime(local);
  errno = 0;
  time_t seconds = steady ? *steady : ::mktime(&local);
  if (!steady && seconds == static_cast<time_t>(-1) && errno != 0) RaiseLastFileError("set the date of file", FileName);
  struct timespec ts {};
  ts.tv_sec = seconds;
  ts.tv_nsec = static_cast<long>(msec) * 1000000L;
  return ts;
}

void CopyBytes(const std::string& SrcUnix, const std::string& DestUnix, std::string_view Source, std::string_view Dest,
               bool FailIfExists) {
  int in = ::open(SrcUnix.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) RaiseLastFileError("copy file", std::string(Source));
  int out = -1;
  bool regularDest = false;
  // Closes both files; a partial copy is removed, since it is worth nothing and takes the
  // space another disk would need.
  auto fail = [&](int Err, const char* Operation, std::string_view Name) {
    ::close(in);
    if (out >= 0) {
      ::close(out);
      if (regularDest) {
        ::unlink(DestUnix.c_str());
        detail::ForgetListingOf(DestUnix);
      }
    }
    RaiseFileError(Operation, std::string(Name), Err);
  };
  struct stat st;
  if (::fstat(in, &st) != 0) fail(errno, "copy file", Source);
  if (S_ISDIR(st.st_mode)) fail(EISDIR, "copy file", Source);
  int flags = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | (FailIfExists ? O_EXCL : 0);
  detail::TDirectoryChange creation(DestUnix);
  out = ::open(DestUnix.c_str(), flags, st.st_mode & 0777);
  if (out >= 0) creation.Added();
  if (out < 0) {
    int err = errno;
    ::close(in);
    RaiseFileError("copy to file", std::string(Dest), err);
  }
  struct stat destSt;
  regularDest = ::fstat(out, &destSt) == 0 && S_ISREG(destSt.st_mode);
  std::vector<char> buf(256 * 1024);
  for (;;) {
    ssize_t n = ::read(in, buf.data(), buf.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) fail(errno, "read file", Source);
    if (n == 0) break;
    for (ssize_t done = 0; done < n;) {
      ssize_t w = ::write(out, buf.data() + done, static_cast<size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w < 0) fail(errno, "write file", Dest);
      done += w;
    }
  }
  struct timespec times[2] = {st.st_atim, st.st_mtim};
  ::futimens(out, times);
  ::close(in);
  if (::close(out) != 0) {
    int err = errno;
    if (regularDest) {
      ::unlink(DestUnix.c_str());
      detail::ForgetListingOf(DestUnix);
    }
    RaiseFileError("write file", std::string(Dest), err);
  }
}

void DeleteTreeUnix(const std::string& UnixPath, const std::string& WindowsPath, std::vector<std::string>& InUse) {
  struct stat st;
  if (::lstat(UnixPath.c_str(), &st) != 0) return;
  if (S_ISDIR(st.st_mode)) {
    DIR* d = ::opendir(UnixPath.c_str());
    if (!d) RaiseLastFileError("remove directory", WindowsPath);
    std::vector<std::string> names;
    while (dirent* e = ::readdir(d)) {
      std::string n = e->d_name;
      if (n != "." && n != "..") names.push_back(n);
    }
    ::closedir(d);
    for (const auto& n : names) DeleteTreeUnix(UnixPath + "/" + n, WindowsPath + "\\" + Utf8ToAnsi(n), InUse);
    int removed = ::rmdir(UnixPath.c_str());
    int err = errno;
    detail::ForgetListingOf(UnixPath + "/");
    detail::ForgetListingOf(UnixPath);
    if (removed != 0 && !(err == ENOTEMPTY && !InUse.empty())) RaiseFileError("remove directory", WindowsPath, err);
    return;
  }
  if (S_ISREG(st.st_mode) && detail::LockedByOthers(UnixPath)) {
    InUse.push_back(WindowsPath);
    return;
  }
  int removed = ::unlink(UnixPath.c_str());
  int err = errno;
  detail::ForgetListingOf(UnixPath);
  if (removed != 0) RaiseFileError("delete file", WindowsPath, err);
}

bool MatchFrom(std::string_view Name, std::string_view Mask) {
  size_t n = 0, m = 0, starM = std::string_view::npos, starN = 0;
  auto up = [](char C) { return static_cast<char>(std::toupper(static_cast<unsigned char>(C))); };
  while (n < Name.size()) {
    if (m < Mask.size() && Mask[m] == '*') {
      starM = m++;
      starN = n;
    } else if (m < Mask.size() && (Mask[m] == '?' || up(Mask[m]) == up(Name[n]))) {
      ++m;
      ++n;
    } else if (starM != std::string_view::npos) {
      m = starM + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (m < Mask.size() && (Mask[m] == '*' || Mask[m] == '.')) ++m;
  return m == Mask.size();
}

} // namespace

TPathKind PathKind(std::string_view Path) {
  struct stat st;
  if (!StatOf(Path, st)) return TPathKind::pkNothing;
  return S_ISDIR(st.st_mode) ? TPathKind::pkDirectory : TPathKind::pkFile;
}

bool FileExists(std::string_view FileName) { return PathKind(FileName) == TPathKind::pkFile; }

bool DirectoryExists(std::string_view Dir) { return PathKind(Dir) == TPathKind::pkDirectory; }

int64_t FileSizeOf(std::string_view FileName) {
  struct stat st;
  if (::stat(UnixPathOf(FileName).c_str(), &st) != 0) RaiseLastFileError("get the size of file", std::string(FileName));
  return st.st_size;
}

TDateTime Now() {
  struct timespec ts {};
  ::clock_gettime(CLOCK_REALTIME, &ts);
  return LocalDateTimeOf(ts);
}

TDateTime FileDateTime(std::string_view FileName) {
  struct stat st;
  if (::stat(UnixPathOf(FileName).c_str(), &st) != 0) RaiseLastFileError("get the date of file", std::string(FileName));
  return LocalDateTimeOf(st.st_mtim);
}

TDateTime FileDateTimeOf(const TFileIdentity& Identity) {
  constexpr int64_t second = 1000000000;
  int64_t seconds = Identity.ModifiedNs / second, rest = Identity.ModifiedNs % second;
  if (rest < 0) {
    rest += second;
    --seconds;
  }
  return LocalDateTimeOf({static_cast<time_t>(seconds), static_cast<long>(rest)});
}

std::optional<TFileIdentity> FileIdentityOf(std::string_view FileName) {
  struct stat st;
  if (!StatOf(FileName, st)) return std::nullopt;
  return detail::IdentityOfStat(st);
}

void SetFileDateTime(std::string_view FileName, TDateTime Time) {
  std::string name(FileName);
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1] = TimespecOfLocal(Time, name);
  if (::utimensat(AT_FDCWD, UnixPathOf(FileName).c_str(), times, 0) != 0)
    RaiseLastFileError("set the date of file", name);
}

void CopyFile(std::string_view Source, std::string_view Dest, TExisting Existing) {
  detail::TListingOperation operation;
  std::string srcUnix = UnixPathOf(Source);
  std::string destUnix = UnixPathOf(Dest);
  if (Existing == TExisting::exReplace && detail::LockedByOthers(destUnix))
    RaiseFileError("copy to file", std::string(Dest), EWOULDBLOCK);
  CopyBytes(srcUnix, destUnix, Source, Dest, Existing == TExisting::exFail);
}

namespace {

// lstat() of UnixPath, from the look its mapping took where it can.
int LstatLooked(const std::string& UnixPath, const detail::TEntryLook& Look, struct stat& St) {
  if (Look.State == detail::TEntryLook::elPresent) {
    St = Look.Entry;
    return 0;
  }
  if (Look.State == detail::TEntryLook::elAbsent) {
    errno = ENOENT;
    return -1;
  }
  return ::lstat(UnixPath.c_str(), &St);
}

// A regular file at DestUnix that another program holds cannot be replaced, as on Windows.
void RefuseHeldTarget(const std::string& DestUnix, const struct stat& Dst, std::string_view Dest) {
  if (S_ISREG(Dst.st_mode) && detail::LockedByOthers(DestUnix))
    RaiseFileError("replace file", std::string(Dest), EWOULDBLOCK);
}

// Renames SrcUnix to DestUnix and keeps both directories' listings true; 0, or rename's errno.
int RenameKeepingListings(const std::string& SrcUnix, const std::string& DestUnix) {
  detail::TDirectoryChange leaving(SrcUnix), arriving(DestUnix);
  if (::rename(SrcUnix.c_str(), DestUnix.c_str()) != 0) return errno;
  leaving.Removed();
  arriving.Added();
  return 0;
}

void MoveFileChecking(std::string_view Source, std::string_view Dest, TExisting Existing, bool CheckSource) {
  detail::TListingOperation operation;
  detail::TEntryLook srcLook, destLook;
  std::string srcUnix = detail::UnixPathLooking(Source, srcLook);
  std::string destUnix = detail::UnixPathLooking(Dest, destLook);
  struct stat st;
  if (LstatLooked(srcUnix, srcLook, st) != 0) RaiseLastFileError("move file", std::string(Source));
  if (CheckSource && S_ISREG(st.st_mode) && detail::LockedByOthers(srcUnix))
    RaiseFileError("move file", std::string(Source), EWOULDBLOCK);
  struct stat dst;
  bool destExists = LstatLooked(destUnix, destLook, dst) == 0;
  // Renaming a file onto another spelling of itself only changes the case.
  bool sameFile = destExists && dst.st_ino == st.st_ino && dst.st_dev == st.st_dev;
  if (sameFile) {
    // The mapping found the source itself under the new spelling: use the name as written.
    std::string lastWindows = std::string(Dest.substr(Dest.find_last_of("\\/") + 1));
    destUnix = destUnix.substr(0, destUnix.rfind('/') + 1) + AnsiToUtf8(lastWindows);
  }
  if (destExists && !sameFile) {
    if (Existing == TExisting::exFail) RaiseFileError("move file to", std::string(Dest), EEXIST);
    RefuseHeldTarget(destUnix, dst, Dest);
  }
  int err = RenameKeepingListings(srcUnix, destUnix);
  if (err == 0) return;
  if (err != EXDEV) RaiseFileError("move file", std::string(Source) + "\" to \"" + std::string(Dest), err);
  // Another file system: copy, then remove the source.
  if (S_ISDIR(st.st_mode)) {
    std::error_code ec;
    std::filesystem::copy(srcUnix, destUnix, std::filesystem::copy_options::recursive, ec);
    detail::ForgetListingOf(destUnix);
    if (ec) RaiseFileError("move directory", std::string(Source), ec.value());
    std::vector<std::string> inUse;
    DeleteTreeUnix(srcUnix, std::string(Source), inUse);
    return;
  }
  CopyBytes(srcUnix, destUnix, Source, Dest, false);
  detail::TDirectoryChange removal(srcUnix);
  if (::unlink(srcUnix.c_str()) != 0) RaiseLastFileError("delete file", std::string(Source));
  removal.Removed();
}

} // namespace

void MoveFile(std::string_view Source, std::string_view Dest, TExisting Existing) {
  MoveFileChecking(Source, Dest, Existing, true);
}

void ReplaceWithOwnFile(std::string_view Source, std::string_view Dest) {
  MoveFileChecking(Source, Dest, TExisting::exReplace, false);
}

void ReplaceWithOwnHostFile(const std::string& HostSource, std::string_view Source, std::string_view Dest) {
  detail::TListingOperation operation;
  detail::TEntryLook destLook;
  std::string destUnix = detail::UnixPathLooking(Dest, destLook);
  // The target's name found the file itself under another spelling: the general way keeps
  // the name as written.
  if (destUnix == HostSource) return ReplaceWithOwnFile(Source, Dest);
  struct stat dst;
  if (LstatLooked(destUnix, destLook, dst) == 0) RefuseHeldTarget(destUnix, dst, Dest);
  if (int err = RenameKeepingListings(HostSource, destUnix))
    RaiseFileError("move file", std::string(Source) + "\" to \"" + std::string(Dest), err);
}

void DeleteFile(std::string_view FileName) {
  detail::TListingOperation operation;
  std::string name(FileName);
  detail::TEntryLook look;
  std::string unixPath = detail::UnixPathLooking(FileName, look);
  struct stat st;
  if (LstatLooked(unixPath, look, st) != 0) RaiseLastFileError("delete file", name);
  if (S_ISDIR(st.st_mode)) RaiseFileError("delete file", name, EISDIR);
  if (detail::LockedByOthers(unixPath)) RaiseFileError("delete file", name, EWOULDBLOCK);
  detail::TDirectoryChange removal(unixPath);
  if (::unlink(unixPath.c_str()) != 0) RaiseLastFileError("delete file", name);
  removal.Removed();
}

bool FileInUse(std::string_view FileName) {
  detail::TEntryLook look;
  auto unixPath = TryUnixPath(FileName, look);
  return unixPath && look.State != detail::TEntryLook::elAbsent && detail::LockedByOthers(*unixPath);
}

void ForceDirectories(std::string_view Dir) {
  detail::TListingOperation operation;
  detail::TEntryLook look;
  std::string unixPath = detail::UnixPathLooking(Dir, look);
  // Most calls name a directory that is there: the mapping's look at it is enough.
  if (look.State == detail::TEntryLook::elPresent && S_ISDIR(look.Entry.st_mode)) return;
  std::error_code ec;
  // Any level may be new: the listings along the path are read again.
  if (std::filesystem::create_directories(unixPath, ec))
    for (std::string path = unixPath; path.size() > 1 && path.find('/') != std::string::npos;
         path.erase(path.rfind('/')))
      detail::ForgetListingOf(path);
  if (ec) RaiseFileError("create directory", std::string(Dir), ec.value());
  struct stat st;
  if (::stat(unixPath.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
    RaiseFileError("create directory", std::string(Dir), ENOTDIR);
}

void RemoveDir(std::string_view Dir) {
  detail::TListingOperation operation;
  std::string unixPath = UnixPathOf(Dir);
  detail::TDirectoryChange removal(unixPath);
  if (::rmdir(unixPath.c_str()) != 0) RaiseLastFileError("remove directory", std::string(Dir));
  removal.Removed();
}

void DeleteTree(std::string_view Dir) {
  std::vector<std::string> inUse;
  DeleteTreeUnix(UnixPathOf(Dir), std::string(Dir), inUse);
  if (!inUse.empty()) RaiseFileError("delete file", inUse.front(), EWOULDBLOCK);
}

bool MatchesMask(std::string_view Name, std::string_view Mask) {
  if (Mask.empty() || Mask == "*" || Mask == "*.*") return true;
  return MatchFrom(Name, Mask);
}

std::vector<TDirEntry> ListDirectory(std::string_view Dir, std::string_view Mask) {
  std::string unixDir = UnixPathOf(Dir);
  DIR* d = ::opendir(unixDir.c_str());
  if (!d) RaiseLastFileError("list directory", std::string(Dir));
  std::vector<TDirEntry> entries;
  while (dirent* e = ::readdir(d)) {
    std::string n = e->d_name;
    if (n == "." || n == "..") continue;
    std::string name = Utf8ToAnsi(n);
    if (!MatchesMask(name, Mask)) continue;
    struct stat st;
    if (::stat((unixDir + "/" + n).c_str(), &st) != 0) continue; // a dangling link
    TDirEntry entry;
    entry.Name = name;
    entry.Directory = S_ISDIR(st.st_mode);
    entry.Size = entry.Directory ? 0 : st.st_size;
    entry.Time = LocalDateTimeOf(st.st_mtim);
    entries.push_back(std::move(entry));
  }
  ::closedir(d);
  std::sort(entries.begin(), entries.end(),
            [](const TDirEntry& A, const TDirEntry& B) { return CompareText(A.Name, B.Name) < 0; });
  return entries;
}

int64_t DiskFree(std::string_view Path) {
  struct statvfs vfs;
  if (::statvfs(UnixPathOf(Path).c_str(), &vfs) != 0)
    RaiseLastFileError("get the free space of the disk of", std::string(Path));
  return static_cast<int64_t>(vfs.f_bavail) * static_cast<int64_t>(vfs.f_frsize);
}

} // namespace qnl

namespace qnl {

std::optional<struct timespec> HostFileTime(TDateTime Time) {
  try {
    return TimespecOfLocal(Time, {});
  } catch (const Exception&) {
    return std::nullopt;
  }
}

} // namespace qnl
