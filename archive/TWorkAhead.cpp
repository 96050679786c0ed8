// The archive's number of worker threads.
#include "archive/TWorkAhead.h"

#include <cstdlib>

#include "platform/system/Environment.h"

namespace qnl {

int ArchiveThreads() {
  if (auto value = GetEnvironmentVariable("QUENLOFT_THREADS")) {
    char* end = nullptr;
    long n = std::strtol(value->c_str(), &end, 10);
    if (!value->empty() && *end == '\0' && n >= 1 && n <= 64) return static_cast<int>(n);
  }
  // Asked once: the library reads the list of online processors from a file each time, and an
  // extraction asks for every member.
  static const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(cores > 64 ? 64 : cores);
}

} // namespace qnl
