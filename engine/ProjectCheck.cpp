// What a build can know of a loaded project before it starts.
#include "engine/ProjectCheck.h"

#include <map>

#include "engine/InstallSession.h"
#include "engine/TCustomInstallFile.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

// A relative source is found from the current directory, as the build finds it.
std::string FullSourcePath(const std::string& SourcePath) {
  bool absolute = SourcePath.starts_with("\\") || (SourcePath.size() > 1 && SourcePath[1] == ':');
  return NormalizeWindowsPath(absolute ? SourcePath : AddBackSlash(GetCurrentDir()) + SourcePath);
}

} // namespace

std::vector<TFormProblem> CheckInstallFiles() {
  std::vector<TFormProblem> problems;
  std::map<int32_t, std::string> byID;
  std::map<std::string, std::string> byDestination; // upper case: Windows names ignore case
  TCustomInstallFileList& files = InstallSession().InstallFiles;
  for (int i = 0; i < files.Count(); ++i) {
    TCustomInstallFile& file = *files.Items(i);
    auto note = [&](const std::string& Property, const std::string& Message) {
      problems.push_back({file.Name(), Property, Message});
    };
    // Beyond the numbers there are, files share 0 by design.
    bool numbersLeft = files.Count() <= TUniqueIDTable::kCount;
    if (auto [it, added] = byID.emplace(file.UniqueID(), file.Name()); !added && numbersLeft)
      note("UniqueID", "UniqueID " + IntToStr(file.UniqueID()) + " is already the UniqueID of " + it->second);
    if (!Trim(file.FileName()).empty()) {
      std::string source = FullSourcePath(file.SourcePath());
      if (!FileExists(source)) note("FileName", "The source file " + source + " does not exist");
    }
    // A file without a DestName of its own is named when it is installed.
    if (Trim(file.DestName()).empty()) continue;
    try {
      std::string destination = file.GetDestPath();
      if (auto [it, added] = byDestination.emplace(UpperCase(NormalizeWindowsPath(destination)), file.Name()); !added)
        note("DestName", "Installed to " + destination + ", as " + it->second + " is");
    } catch (const std::exception& e) {
      note("DestName", e.what());
    }
  }
  return problems;
}

} // namespace qnl
