// A machine in a fresh temporary folder for each test, and helpers to run child processes.
#include "test_MachineFixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace qnl::test {

void TMachineTest::SetUp() {
  const char* old = std::getenv("WINEPREFIX");
  FOldPrefix = old ? old : "";
  // Memory-backed when available: a killed process keeps its page cache, so the tests of
  // durability across SIGKILL hold there too, and the many syncs cost nothing.
  std::string root = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::filesystem::temp_directory_path().string();
  std::string base = root + "/qnl-machine-XXXXXX";
  ASSERT_NE(mkdtemp(base.data()), nullptr);
  FDir = base + "/prefix";
  setenv("WINEPREFIX", FDir.c_str(), 1);
}

void TMachineTest::TearDown() {
  FMachine.reset();
  std::filesystem::remove_all(std::filesystem::path(FDir).parent_path());
  if (FOldPrefix.empty()) unsetenv("WINEPREFIX");
  else setenv("WINEPREFIX", FOldPrefix.c_str(), 1);
}

TMachine& TMachineTest::Machine() {
  if (!FMachine) {
    FMachine = std::make_unique<TMachine>(FDir);
    if (!FMachine->Exists()) FMachine->Create();
  }
  return *FMachine;
}

void TMachineTest::CloseMachine() { FMachine.reset(); }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

std::string TestBinDir() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

pid_t StartWithOutputPipe(const std::vector<std::string>& args, int& readFd) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], 1);
    close(fds[0]);
    close(fds[1]);
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(fds[1]);
  readFd = fds[0];
  return pid;
}

int RunProgram(const std::vector<std::string>& args, std::string& output) {
  int fd = -1;
  pid_t pid = StartWithOutputPipe(args, fd);
  if (pid < 0) return -1;
  output.clear();
  char buf[4096];
  ssize_t n;
  while ((n = read(fd, buf, sizeof buf)) > 0) output.append(buf, size_t(n));
  close(fd);
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace qnl::test
