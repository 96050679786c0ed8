// A helper process for the registry tests: writes or reads values of the machine that
// WINEPREFIX names and reports on stdout.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "platform/Machine.h"
#include "platform/registry/Registry.h"
#include "tests/platform/RegistryAppend.h"

using namespace qnl;

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: test_RegistryChild loop KEY PREFIX [SIZE]  write PREFIX<i> until killed, print i after each;\n"
               "                                              the value is i as a DWORD, or SIZE bytes of i %% 256\n"
               "       test_RegistryChild write KEY PREFIX COUNT  write COUNT values, print \"done\"\n"
               "       test_RegistryChild append KEY COUNT        COUNT times, in one edit each: read \"Entries\" n,\n"
               "                                              write \"Item<n+1>\" and \"Entries\" n+1; print \"done\"\n"
               "       test_RegistryChild dump KEY                print name=type:data of each value\n");
  return 2;
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  std::string mode = argv[1];
  try {
    TMachine& machine = TMachine::Current();
    if (mode == "loop" && (argc == 4 || argc == 5)) {
      TRegKey key = TRegKey::Create(machine, TRootKey::rkLocalMachine, argv[2]);
      size_t size = argc == 5 ? size_t(std::atoi(argv[4])) : 0;
      for (unsigned i = 0;; ++i) {
        std::string name = std::string(argv[3]) + std::to_string(i);
        if (size)
          key.WriteBinary(name, std::string(size, char(i % 256)));
        else
          key.WriteDWord(name, i);
        // Reported only after the call returned: from here on the write must survive.
        std::string line = std::to_string(i) + "\n";
        if (write(1, line.data(), line.size()) < 0) return 1;
      }
    }
    if (mode == "write" && argc == 5) {
      TRegKey key = TRegKey::Create(machine, TRootKey::rkLocalMachine, argv[2]);
      int count = std::atoi(argv[4]);
      for (int i = 0; i < count; ++i) key.WriteString(std::string(argv[3]) + std::to_string(i), std::to_string(i));
      std::printf("done\n");
      return 0;
    }
    if (mode == "append" && argc == 4) {
      for (int i = 0, count = std::atoi(argv[3]); i < count; ++i) test::AppendItem(argv[2]);
      std::printf("done\n");
      return 0;
    }
    if (mode == "dump" && argc == 3) {
      auto key = TRegKey::Open(machine, TRootKey::rkLocalMachine, argv[2]);
      if (!key) {
        std::printf("missing\n");
        return 3;
      }
      for (const auto& value : key->Values()) {
        std::printf("%s=%u:", value.Name.c_str(), unsigned(value.Type));
        for (unsigned char c : value.Data) std::printf("%02x", c);
        std::printf("\n");
      }
      return 0;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "test_RegistryChild: %s\n", e.what());
    return 1;
  }
  return Usage();
}
