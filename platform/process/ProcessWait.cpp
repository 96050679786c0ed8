// Waiting for a process by polling, since it is not our child and cannot be waited for.
#include "platform/process/ProcessWait.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>

namespace qnl {

namespace {

// A zombie has ended though it still answers kill(0) until its parent reaps it.
bool IsZombie(int Pid) {
  std::ifstream stat("/proc/" + std::to_string(Pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return false;
  size_t close = line.rfind(')');
  return close != std::string::npos && close + 2 < line.size() && line[close + 2] == 'Z';
}

} // namespace

void WaitForProcessEnd(int Pid) {
  if (Pid <= 0) return;
  while (::kill(Pid, 0) == 0 || errno == EPERM) {
    if (IsZombie(Pid)) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

int CurrentProcessId() { return ::getpid(); }

} // namespace qnl
