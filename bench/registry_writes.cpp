// Benchmark: N registry value writes in one process plus the final flush, against the
// same number of equal-sized appends to a plain file with an fdatasync after each.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "platform/Machine.h"
#include "platform/registry/Registry.h"

using namespace qnl;
using Clock = std::chrono::steady_clock;

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: registry_writes DIR COUNT reg|peer\n");
    return 2;
  }
  std::string dir = argv[1];
  long count = std::atol(argv[2]);
  std::string mode = argv[3];
  double seconds = 0;
  if (mode == "reg") {
    TMachine machine(dir);
    machine.Create(); // not timed
    auto start = Clock::now();
    for (long i = 0; i < count; ++i) {
      // 1,000 values per key, as an installation spreads its entries over keys.
      TRegKey key = TRegKey::Create(machine, TRootKey::rkLocalMachine, "Software\\Bench\\K" + std::to_string(i / 1000));
      key.WriteDWord("value" + std::to_string(i), uint32_t(i));
    }
    machine.Flush();
    seconds = std::chrono::duration<double>(Clock::now() - start).count();
  } else {
    std::string file = dir + "/peer.log";
    int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0644);
    if (fd < 0) return 1;
    auto start = Clock::now();
    for (long i = 0; i < count; ++i) {
      // The same bytes our journal appends for one value (about 70).
      std::string line = "[Software\\\\Bench\\\\K" + std::to_string(i / 1000) + "]\"value" + std::to_string(i) +
                         "\"=dword:" + std::to_string(i) + "          \n";
      if (write(fd, line.data(), line.size()) < 0 || fdatasync(fd) != 0) return 1;
    }
    close(fd);
    seconds = std::chrono::duration<double>(Clock::now() - start).count();
  }
  std::printf("%.1f\n", seconds * 1e6 / double(count)); // microseconds per write
  return 0;
}
