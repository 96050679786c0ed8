// The working directory a build writes its distribution into before it replaces the old one.
#pragma once

#include <string>
#include <vector>

namespace qnl {

// A fresh working directory inside the build directory that receives every file a build
// writes. Commit moves them into the build directory under the same relative names; until
// then the build directory keeps what it had. The destructor removes the working directory,
// and the build directory too when this object made it and it is still empty, so that a
// build that fails at any step leaves the build directory as it was.
class TBuildStaging {
public:
  // BuildDir ends with a backslash; it is made with its missing parents. A working directory
  // left by a build that was interrupted is removed first. IEInstall when either directory
  // cannot be made.
  explicit TBuildStaging(const std::string& BuildDir);
  ~TBuildStaging();
  TBuildStaging(const TBuildStaging&) = delete;
  TBuildStaging& operator=(const TBuildStaging&) = delete;

  // The working directory, with a trailing backslash.
  const std::string& Dir() const { return FDir; }

  // Moves every file of the working directory to the build directory, replacing the earlier
  // build's, and deletes each of Outdated (names relative to the build directory) that the
  // working directory did not hold. Every target is checked before the first file moves: a
  // directory in the way or a file in use fails with IEInstall and replaces nothing.
  void Commit(const std::vector<std::string>& Outdated);

private:
  std::string FBuildDir;
  std::string FDir;
  bool FMadeBuildDir = false;
};

} // namespace qnl
