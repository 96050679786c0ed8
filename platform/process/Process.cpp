// Starting programs on the machine.
#include "platform/process/Process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "platform/OSError.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "platform/process/BatchFile.h"
#include "platform/process/MachineLogs.h"
#include "platform/system/SystemInfo.h"
#include "rtl/SysUtils.h"

extern char** environ;

namespace qnl {

namespace {

enum class TProgramKind { pkMissing, pkNative, pkWindows, pkBatch, pkUnknown };

struct TProgram {
  TProgramKind Kind = TProgramKind::pkMissing;
  std::string WindowsPath;
  std::string UnixPath;
  std::vector<std::string> Args; // after the program
};

bool IsFile(const std::string& UnixPath) {
  struct stat st;
  return ::stat(UnixPath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<std::string> TryUnix(const std::string& WindowsPath) {
  try {
    return UnixPathOf(WindowsPath);
  } catch (const EPathError&) {
    return std::nullopt;
  }
}

// Finds the program as WinExec does: as given (relative to the current directory), then in the
// system and Windows directories for a bare name; ".exe" is tried when there is no extension.
TProgram Resolve(std::string_view CmdLine) {
  TProgram program;
  auto words = SplitCommandLine(CmdLine);
  if (words.empty()) return program;
  std::string name = words[0];
  program.Args.assign(words.begin() + 1, words.end());
  std::vector<std::string> candidates;
  bool bare = name.find_first_of("\\/:") == std::string::npos;
  std::vector<std::string> dirs = {""};
  if (bare) {
    dirs.push_back(SystemDirectory() + "\\");
    dirs.push_back(WindowsDirectory() + "\\");
  }
  for (const auto& dir : dirs) {
    candidates.push_back(dir + name);
    if (ExtractFileExt(name).empty()) candidates.push_back(dir + name + ".exe");
  }
  for (const auto& candidate : candidates) {
    auto unixPath = TryUnix(candidate);
    if (!unixPath || !IsFile(*unixPath)) continue;
    program.WindowsPath = NormalizeWindowsPath(candidate);
    if (program.WindowsPath.size() < 2 || program.WindowsPath[1] != ':') program.WindowsPath = WindowsPathOf(*unixPath);
    program.UnixPath = *unixPath;
    std::string ext = UpperCase(ExtractFileExt(candidate));
    if (ext == ".BAT" || ext == ".CMD") {
      program.Kind = TProgramKind::pkBatch;
      return program;
    }
    char magic[4] = {};
    std::ifstream in(*unixPath, std::ios::binary);
    in.read(magic, 4);
    bool elf = in.gcount() == 4 && magic[0] == '\x7f' && magic[1] == 'E' && magic[2] == 'L' && magic[3] == 'F';
    bool script = in.gcount() >= 2 && magic[0] == '#' && magic[1] == '!';
    if (in.gcount() >= 2 && magic[0] == 'M' && magic[1] == 'Z') {
      program.Kind = TProgramKind::pkWindows;
    } else if (::access(unixPath->c_str(), X_OK) == 0) {
      program.Kind = TProgramKind::pkNative;
    } else if (elf || script) {
      // Windows runs any program file; an installed file carries no run rights (archives
      // keep none), so a native program gets them when it is started.
      struct stat st;
      bool granted = ::stat(unixPath->c_str(), &st) == 0 &&
                     ::chmod(unixPath->c_str(), st.st_mode | ((st.st_mode & 0444) >> 2) | S_IXUSR) == 0;
      program.Kind = granted ? TProgramKind::pkNative : TProgramKind::pkUnknown;
    } else {
      program.Kind = TProgramKind::pkUnknown;
    }
    return program;
  }
  return program;
}

std::vector<std::string> NativeArgv(const TProgram& Program) {
  std::vector<std::string> argv;
  if (Program.Kind == TProgramKind::pkWindows) argv.push_back("wine");
  argv.push_back(Program.UnixPath);
  argv.insert(argv.end(), Program.Args.begin(), Program.Args.end());
  return argv;
}

[[noreturn]] void ExecOrDie(const std::vector<std::string>& Argv, int ErrorPipe) {
  std::vector<char*> raw;
  for (const auto& a : Argv) raw.push_back(const_cast<char*>(a.c_str()));
  raw.push_back(nullptr);
  ::execvp(raw[0], raw.data());
  int err = errno;
  if (ErrorPipe >= 0) (void)!::write(ErrorPipe, &err, sizeof err);
  ::_exit(127);
}

// Starts argv so that it outlives this process and is never this process's zombie; returns
// the errno of a failed exec, 0 when started.
int SpawnDetached(const std::vector<std::string>& Argv) {
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return errno;
  pid_t child = ::fork();
  if (child < 0) {
    int err = errno;
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    return err;
  }
  if (child == 0) {
    ::close(pipeFds[0]);
    ::setsid();
    pid_t grandchild = ::fork();
    if (grandchild < 0) {
      int err = errno;
      (void)!::write(pipeFds[1], &err, sizeof err);
      ::_exit(127);
    }
    if (grandchild == 0) ExecOrDie(Argv, pipeFds[1]);
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {}
  int err = 0;
  ssize_t n;
  while ((n = ::read(pipeFds[0], &err, sizeof err)) < 0 && errno == EINTR) {}
  ::close(pipeFds[0]);
  return n == sizeof err ? err : 0;
}

// Runs the batch interpreter in a detached child that first waits for this process to end.
int SpawnBatchDetached(const std::string& WindowsPath) {
  int parent = ::getpid();
  pid_t child = ::fork();
  if (child < 0) return errno;
  if (child == 0) {
    ::setsid();
    pid_t grandchild = ::fork();
    if (grandchild == 0) {
      // A batch runs hidden and outlives its starter: it must not hold the starter's terminal
      // or output pipes, whose readers would otherwise wait for it.
      int devNull = ::open("/dev/null", O_RDWR);
      if (devNull >= 0) {
        ::dup2(devNull, STDIN_FILENO);
        ::dup2(devNull, STDOUT_FILENO);
        ::dup2(devNull, STDERR_FILENO);
        if (devNull > STDERR_FILENO) ::close(devNull);
      }
      int rc = 0;
      try {
        rc = RunBatchFile(WindowsPath, parent) == 0 ? 0 : 1;
      } catch (...) {
        rc = 1;
      }
      std::fflush(nullptr);
      ::_exit(rc);
    }
    ::_exit(grandchild < 0 ? 127 : 0);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {}
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : ECHILD;
}

// Waits for a child whose exec reports its errno on the pipe ErrorPipe (read end; the write
// end closed here): raises when the exec failed, else returns the exit status (128 + the
// signal number when a signal ended it).
int AwaitChild(pid_t Child, int ErrorPipe, const std::string& What) {
  int err = 0;
  ssize_t n;
  while ((n = ::read(ErrorPipe, &err, sizeof err)) < 0 && errno == EINTR) {}
  ::close(ErrorPipe);
  int status = 0;
  while (::waitpid(Child, &status, 0) < 0 && errno == EINTR) {}
  if (n == sizeof err) {
    errno = err;
    RaiseLastOSError("run", What);
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

int RunArgvAndWait(const std::vector<std::string>& Argv, const std::string& What) {
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) RaiseLastOSError("run", What);
  pid_t child = ::fork();
  if (child < 0) RaiseLastOSError("run", What);
  if (child == 0) {
    ::close(pipeFds[0]);
    ExecOrDie(Argv, pipeFds[1]);
  }
  ::close(pipeFds[1]);
  return AwaitChild(child, pipeFds[0], What);
}

uint32_t WinExecResultOf(int Err) {
  if (Err == 0) return kWinExecStarted;
  if (Err == ENOENT) return kWinExecFileNotFound;
  if (Err == ENOEXEC) return kWinExecBadFormat;
  return 0;
}

} // namespace

std::vector<std::string> SplitCommandLine(std::string_view CmdLine) {
  std::vector<std::string> words;
  std::string current;
  bool inQuotes = false;
  bool inWord = false;
  for (size_t i = 0; i < CmdLine.size(); ++i) {
    char c = CmdLine[i];
    if (c == '"') {
      // "" inside quotes stands for one quote, as the C run-time reads it.
      if (inQuotes && i + 1 < CmdLine.size() && CmdLine[i + 1] == '"') {
        current += '"';
        ++i;
      } else {
        inQuotes = !inQuotes;
      }
      inWord = true;
    } else if ((c == ' ' || c == '\t') && !inQuotes) {
      if (inWord) words.push_back(current);
      current.clear();
      inWord = false;
    } else {
      current += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(current);
  return words;
}

uint32_t WinExec(std::string_view CmdLine, int CmdShow) {
  TProgram program = Resolve(CmdLine);
  switch (program.Kind) {
    case TProgramKind::pkMissing: return kWinExecFileNotFound;
    case TProgramKind::pkUnknown: return kWinExecBadFormat;
    case TProgramKind::pkBatch: return WinExecResultOf(SpawnBatchDetached(program.WindowsPath));
    case TProgramKind::pkWindows:
      if (!WineInstalled()) {
        AppendStartLog("exec " + std::to_string(CmdShow) + " " + std::string(CmdLine));
        return kWinExecStarted;
      }
      [[fallthrough]];
    case TProgramKind::pkNative: return WinExecResultOf(SpawnDetached(NativeArgv(program)));
  }
  return 0;
}

int RunAndWait(std::string_view CmdLine) {
  TProgram program = Resolve(CmdLine);
  std::string cmd(CmdLine);
  switch (program.Kind) {
    case TProgramKind::pkMissing:
      throw EOSError(Format("Cannot run \"%s\": the program does not exist", {cmd}), ENOENT);
    case TProgramKind::pkUnknown:
      throw EOSError(Format("Cannot run \"%s\": the file is not a program", {cmd}), ENOEXEC);
    case TProgramKind::pkBatch: return RunBatchFile(program.WindowsPath) == 0 ? 0 : 1;
    case TProgramKind::pkWindows:
      if (!WineInstalled()) {
        AppendStartLog("exec " + std::to_string(SW_SHOWNORMAL) + " " + cmd);
        return 0;
      }
      break;
    case TProgramKind::pkNative: break;
  }
  return RunArgvAndWait(NativeArgv(program), cmd);
}

int RunWine(const std::vector<std::string>& Args) {
  std::vector<std::string> argv = {"wine"};
  argv.insert(argv.end(), Args.begin(), Args.end());
  return RunArgvAndWait(argv, "wine");
}

int RunShellCommand(const std::string& Command, const std::vector<std::string>& Args,
                    const std::vector<std::string>& Environment) {
  std::vector<std::string> argv = {"sh", "-c", Command, "sh"};
  argv.insert(argv.end(), Args.begin(), Args.end());
  // An added entry replaces the inherited one of the same name.
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string entry = *e;
    std::string name = entry.substr(0, entry.find('=') + 1);
    bool replaced = false;
    for (const auto& added : Environment) replaced = replaced || added.compare(0, name.size(), name) == 0;
    if (!replaced) env.push_back(std::move(entry));
  }
  env.insert(env.end(), Environment.begin(), Environment.end());
  // Everything the child needs is built before fork: only async-signal-safe calls follow.
  std::vector<char*> rawArgv, rawEnv;
  for (auto& a : argv) rawArgv.push_back(a.data());
  rawArgv.push_back(nullptr);
  for (auto& e : env) rawEnv.push_back(e.data());
  rawEnv.push_back(nullptr);
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) RaiseLastOSError("run", "/bin/sh");
  pid_t child = ::fork();
  if (child < 0) {
    int err = errno;
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    errno = err;
    RaiseLastOSError("run", "/bin/sh");
  }
  if (child == 0) {
    ::close(pipeFds[0]);
    int devNull = ::open("/dev/null", O_WRONLY);
    if (devNull >= 0) ::dup2(devNull, STDOUT_FILENO);
    ::execve("/bin/sh", rawArgv.data(), rawEnv.data());
    int err = errno;
    (void)!::write(pipeFds[1], &err, sizeof err);
    ::_exit(127);
  }
  ::close(pipeFds[1]);
  return AwaitChild(child, pipeFds[0], "/bin/sh");
}

bool WineInstalled() {
  const char* off = std::getenv("QNL_NO_WINE");
  if (off && std::string(off) == "1") return false;
  const char* path = std::getenv("PATH");
  if (!path) return false;
  std::string p = path;
  size_t start = 0;
  while (start <= p.size()) {
    size_t stop = p.find(':', start);
    if (stop == std::string::npos) stop = p.size();
    std::string dir = p.substr(start, stop - start);
    if (!dir.empty() && ::access((dir + "/wine").c_str(), X_OK) == 0) return true;
    start = stop + 1;
  }
  return false;
}

} // namespace qnl
