// Unpacking the distribution without installing.
#include "tools/loader/LookOptions.h"

#include <cstdio>
#include <filesystem>

#include "archive/DistributionArchives.h"
#include "platform/files/WinPaths.h"
#include "rtl/SysUtils.h"
#include "tools/loader/LoadProgramErrors.h"

namespace qnl {

namespace {

std::string AbsoluteHostPath(const std::string& Path) {
  return std::filesystem::absolute(Path).lexically_normal().string();
}

void Write(const std::string& S) { std::fwrite(S.data(), 1, S.size(), stdout); }

} // namespace

int ExtractDistribution(const std::string& Dir, const std::string& ProgramFile) {
  std::string target = WindowsPathOf(AbsoluteHostPath(Dir));
  std::vector<std::string> written;
  try {
    written = UnpackArchives(DistributionArchives(ProgramFile), target);
  } catch (const Exception& e) {
    throw ELoadProgram(Format("cannot unpack %s into %s: %s", {ProgramFile, Dir, e.Message()}));
  }
  for (const std::string& file : written) Write(file + "\n");
  return 0;
}

} // namespace qnl
