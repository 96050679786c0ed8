// Child processes of the tests.
#include "tests/support/ChildProcess.h"

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

namespace qnl::test {

std::string TestBinDir() { return std::filesystem::read_symlink("/proc/self/exe").parent_path().string(); }

pid_t StartWithOutputPipe(const std::vector<std::string>& Args, int& ReadFd) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], 1);
    close(fds[0]);
    close(fds[1]);
    std::vector<char*> argv;
    for (const auto& a : Args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(fds[1]);
  ReadFd = fds[0];
  return pid;
}

int RunProgram(const std::vector<std::string>& Args, std::string& Output) {
  int fd = -1;
  pid_t pid = StartWithOutputPipe(Args, fd);
  if (pid < 0) return -1;
  Output.clear();
  char buf[4096];
  ssize_t n;
  while ((n = read(fd, buf, sizeof buf)) > 0) Output.append(buf, size_t(n));
  close(fd);
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace qnl::test
