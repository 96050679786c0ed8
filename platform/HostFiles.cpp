// Whole-file helpers on Unix paths.
#include "platform/HostFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "rtl/Exceptions.h"

namespace qnl::host {

namespace {

[[noreturn]] void Fail(const std::string& What, const std::string& Path, int Error) {
  throw EInOutError(What + " \"" + Path + "\": " + std::strerror(Error), Error);
}

class TFd {
public:
  explicit TFd(int Fd) : FFd(Fd) {}
  ~TFd() {
    if (FFd >= 0) ::close(FFd);
  }
  TFd(const TFd&) = delete;
  TFd& operator=(const TFd&) = delete;
  int Get() const { return FFd; }
  int Release() {
    int fd = FFd;
    FFd = -1;
    return fd;
  }

private:
  int FFd;
};

} // namespace

std::string ReadWholeFile(const std::string& Path) {
  TFd fd(::open(Path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) Fail("Cannot open file", Path, errno);
  std::string data;
  char buf[64 * 1024];
  for (;;) {
    ssize_t n = ::read(fd.Get(), buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail("Cannot read file", Path, errno);
    }
    if (n == 0) break;
    data.append(buf, static_cast<size_t>(n));
  }
  return data;
}

void WriteWholeFile(const std::string& Path, std::string_view Data, TFileMode Mode) {
  std::string temp = Path + ".qnl-" + std::to_string(::getpid()) + ".tmp";
  mode_t perms = Mode == TFileMode::fmExecutable ? 0777 : 0666; // the umask narrows them
  TFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, perms));
  if (fd.Get() < 0) Fail("Cannot create file", temp, errno);
  size_t done = 0;
  while (done < Data.size()) {
    ssize_t n = ::write(fd.Get(), Data.data() + done, Data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      int error = errno;
      ::unlink(temp.c_str());
      Fail("Cannot write file", temp, error);
    }
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd.Get()) != 0 || ::close(fd.Release()) != 0) {
    int error = errno;
    ::unlink(temp.c_str());
    Fail("Cannot write file", temp, error);
  }
  if (::rename(temp.c_str(), Path.c_str()) != 0) {
    int error = errno;
    ::unlink(temp.c_str());
    Fail("Cannot replace file", Path, error);
  }
}

std::string RunningExecutablePath() {
  char buf[PATH_MAX + 1];
  ssize_t n = ::readlink("/proc/self/exe", buf, PATH_MAX);
  if (n < 0) Fail("Cannot find the running program", "/proc/self/exe", errno);
  return std::string(buf, static_cast<size_t>(n));
}

std::string DirectoryOf(const std::string& Path) {
  size_t slash = Path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return Path.substr(0, slash);
}

bool FileExists(const std::string& Path) {
  struct stat st;
  return ::stat(Path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void ReplaceProcess(const std::string& Program, const std::vector<std::string>& Args) {
  std::vector<std::string> words{Program};
  words.insert(words.end(), Args.begin(), Args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  std::fflush(nullptr);
  ::execv(Program.c_str(), argv.data());
  throw EOSError("Cannot run program \"" + Program + "\": " + std::strerror(errno), errno);
}

std::string MakeTemporaryDirectory(const std::string& Prefix) {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/" + Prefix + "XXXXXX";
  if (!::mkdtemp(pattern.data())) Fail("Cannot create directory", pattern, errno);
  return pattern;
}

void ForceDirectories(const std::string& Path) {
  std::error_code error;
  std::filesystem::create_directories(Path, error);
  if (error) throw EInOutError("Cannot create directory \"" + Path + "\": " + error.message(), error.value());
}

bool IsMissingOrEmptyDirectory(const std::string& Path) {
  std::error_code error;
  if (!std::filesystem::exists(Path, error)) return !error;
  return std::filesystem::is_directory(Path, error) && std::filesystem::is_empty(Path, error) && !error;
}

void RemoveDirectoryTree(const std::string& Path) {
  std::error_code error;
  std::filesystem::remove_all(Path, error);
  if (error) throw EInOutError("Cannot remove directory \"" + Path + "\": " + error.message(), error.value());
}

THostFileStream::THostFileStream(const std::string& Path) : FPath(Path) {
  FHandle = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC);
  if (FHandle < 0) Fail("Cannot open file", Path, errno);
  struct stat st;
  if (::fstat(FHandle, &st) != 0) {
    int error = errno;
    ::close(FHandle);
    Fail("Cannot read file", Path, error);
  }
  FSize = st.st_size;
}

THostFileStream::~THostFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

int64_t THostFileStream::Read(void* Buffer, int64_t Count) {
  int64_t done = 0;
  while (done < Count) {
    ssize_t n =
        ::pread(FHandle, static_cast<char*>(Buffer) + done, static_cast<size_t>(Count - done), FPosition + done);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail("Cannot read file", FPath, errno);
    }
    if (n == 0) break;
    done += n;
  }
  FPosition += done;
  return done;
}

int64_t THostFileStream::Write(const void*, int64_t) {
  throw EInOutError("Cannot write file \"" + FPath + "\": it is open for reading only", EBADF);
}

int64_t THostFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int64_t base = Origin == soBeginning ? 0 : Origin == soCurrent ? FPosition : FSize;
  FPosition = base + Offset < 0 ? 0 : base + Offset;
  return FPosition;
}

} // namespace qnl::host
