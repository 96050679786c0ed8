// The search for the product directory.
#include "engine/ProductDirectory.h"

#include "common/routines_Strings.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "platform/system/Environment.h"
#include "platform/system/SystemInfo.h"

namespace qnl {

namespace {

void AddUnixDirectory(std::vector<std::string>& List, const std::string& UnixDir) {
  if (UnixDir.empty()) return;
  List.push_back(RemoveBackSlash(WindowsPathOf(UnixDir)));
}

} // namespace

std::vector<std::string> ProductSearchPath() { return ProductSearchPath(ModuleFileName()); }

std::vector<std::string> ProductSearchPath(const std::string& ProgramFile) {
  std::vector<std::string> list;
  if (std::optional<std::string> variable = GetEnvironmentVariable(kProductPathVariable)) {
    size_t start = 0;
    while (start <= variable->size()) {
      size_t end = variable->find(':', start);
      if (end == std::string::npos) end = variable->size();
      AddUnixDirectory(list, variable->substr(start, end - start));
      start = end + 1;
    }
  }
  std::string programDir = ExtractFileDir(ProgramFile);
  list.push_back(programDir);
  list.push_back(AddBackSlash(ExtractFileDir(programDir)) + kInstalledProductDir);
  return list;
}

std::string FindProductDirectory() { return FindProductDirectoryIn(ProductSearchPath()); }

std::string FindProductDirectoryIn(const std::vector<std::string>& SearchPath) {
  for (const std::string& dir : SearchPath)
    if (FileExists(AddBackSlash(dir) + kProductMarkerFile)) return dir;
  throw IENoQuenloftPath("Cannot find the the Quenloft directory on the VCL library search path");
}

} // namespace qnl
