// A build's working directory and the replacement of the distribution by what it holds.
#include "engine/BuildStaging.h"

#include "common/routines_Strings.h"
#include "paths/IInstallComponent.h"
#include "platform/files/Files.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

constexpr const char* kStagingName = "~QNLBUILD.TMP";
constexpr const char* kCannotReplace = "Cannot replace %s: %s";

// The files below Dir, by their names relative to it.
void CollectFiles(const std::string& Dir, const std::string& Relative, std::vector<std::string>& Files) {
  for (const TDirEntry& entry : ListDirectory(Dir + Relative)) {
    std::string name = Relative + entry.Name;
    if (entry.Directory)
      CollectFiles(Dir, name + "\\", Files);
    else
      Files.push_back(name);
  }
}

// Fails unless Target can be replaced or deleted: no directory in its place, not in use, and
// its directory exists.
void CheckReplaceable(const std::string& Target) {
  if (DirectoryExists(Target)) throw IEInstall(kCannotReplace, {Target, "a directory of that name is in the way"});
  if (FileInUse(Target)) throw IEInstall(kCannotReplace, {Target, "it is in use by another program"});
  try {
    ForceDirectories(ExtractFileDir(Target));
  } catch (const std::exception& e) {
    throw IEInstall(kCannotReplace, {Target, e.what()});
  }
}

} // namespace

TBuildStaging::TBuildStaging(const std::string& BuildDir) : FBuildDir(BuildDir), FDir(BuildDir + kStagingName + "\\") {
  try {
    FMadeBuildDir = !DirectoryExists(FBuildDir);
    ForceDirectories(FBuildDir);
  } catch (const std::exception& e) {
    throw IEInstall("Cannot create the build directory %s: %s", {RemoveBackSlash(FBuildDir), e.what()});
  }
  try {
    DeleteTree(FDir);
    ForceDirectories(FDir);
  } catch (const std::exception& e) {
    throw IEInstall("Cannot create the build's working directory %s: %s", {RemoveBackSlash(FDir), e.what()});
  }
}

TBuildStaging::~TBuildStaging() {
  try {
    DeleteTree(FDir);
    if (FMadeBuildDir && ListDirectory(FBuildDir).empty()) RemoveDir(FBuildDir);
  } catch (const std::exception&) {
    // The build's own outcome is what gets reported; a working directory that stays is
    // removed by the next build.
  }
}

void TBuildStaging::Commit(const std::vector<std::string>& Outdated) {
  std::vector<std::string> files;
  CollectFiles(FDir, "", files);
  std::vector<std::string> deleted;
  for (const std::string& name : Outdated)
    if (!FileExists(FDir + name) && FileExists(FBuildDir + name)) deleted.push_back(name);
  for (const std::string& name : files) CheckReplaceable(FBuildDir + name);
  for (const std::string& name : deleted) CheckReplaceable(FBuildDir + name);
  for (const std::string& name : files) try {
      MoveFile(FDir + name, FBuildDir + name, TExisting::exReplace);
    } catch (const std::exception& e) {
      throw IEInstall(kCannotReplace, {FBuildDir + name, e.what()});
    }
  for (const std::string& name : deleted) try {
      DeleteFile(FBuildDir + name);
    } catch (const std::exception& e) {
      throw IEInstall(kCannotReplace, {FBuildDir + name, e.what()});
    }
}

} // namespace qnl
