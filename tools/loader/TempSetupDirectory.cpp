// Creating the loading program's temporary directory.
#include "tools/loader/TempSetupDirectory.h"

#include <random>
#include <thread>

#include "common/routines_API.h"
#include "common/routines_Strings.h"
#include "platform/files/FileCreation.h"
#include "platform/files/Files.h"
#include "rtl/SysUtils.h"
#include "tools/loader/LoadProgramErrors.h"

namespace qnl {

namespace {

constexpr int kNameAttempts = 200;
constexpr auto kPollInterval = std::chrono::milliseconds(50);

std::string HexDigits(uint32_t value, int count) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text(count, '0');
  for (int i = count - 1; i >= 0; --i, value >>= 4) text[i] = digits[value & 0xF];
  return text;
}

} // namespace

std::string CreateTempSetupDirectory() {
  std::string parent;
  try {
    parent = GetTempDir();
  } catch (const Exception& e) {
    throw ELoadProgram(Format("there is no temporary directory to unpack into: %s", {e.Message()}));
  }
  // Random names: several loading programs may start at the same moment, and a name that
  // an earlier run left behind must not be taken over.
  std::random_device device;
  std::mt19937 generator(device());
  std::uniform_int_distribution<uint32_t> number(0, 0xFFFFF);
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string dir = AddBackSlash(parent) + "QNL" + HexDigits(number(generator), 5);
    try {
      if (CreateNewDirectory(dir)) return dir;
    } catch (const Exception& e) {
      throw ELoadProgram(Format("cannot create a temporary directory in %s: %s", {parent, e.Message()}));
    }
  }
  throw ELoadProgram(Format("cannot find a free name for a temporary directory in %s", {parent}));
}

bool WaitUntilRemoved(const std::string& Dir, std::chrono::milliseconds Limit) {
  auto deadline = std::chrono::steady_clock::now() + Limit;
  while (DirectoryExists(Dir)) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
  return true;
}

} // namespace qnl
