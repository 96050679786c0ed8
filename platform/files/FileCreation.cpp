// Making entries that must be new, and files that can be run.
#include "platform/files/FileCreation.h"

#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "platform/OSError.h"
#include "platform/files/DirectoryListings.h"
#include "platform/files/WinPaths.h"

namespace qnl {

bool CreateNewDirectory(std::string_view Dir) {
  std::string unixPath = UnixPathOf(Dir);
  // mkdir fails with EEXIST for any existing entry, also a dangling link: the test and the
  // creation are one step, so two processes never both get the same directory.
  detail::TDirectoryChange creation(unixPath);
  if (::mkdir(unixPath.c_str(), 0777) == 0) {
    creation.Added();
    return true;
  }
  if (errno == EEXIST) return false;
  RaiseLastFileError("create directory", std::string(Dir));
}

void SetExecutable(std::string_view FileName) {
  std::string unixPath = UnixPathOf(FileName);
  struct stat st;
  if (::stat(unixPath.c_str(), &st) != 0) RaiseLastFileError("make executable", std::string(FileName));
  if (!S_ISREG(st.st_mode)) RaiseFileError("make executable", std::string(FileName), EISDIR);
  // Each read bit brings its execute bit: the owner, the group and others keep what they had.
  mode_t mode = st.st_mode & 07777;
  mode |= (mode & (S_IRUSR | S_IRGRP | S_IROTH)) >> 2;
  if (::chmod(unixPath.c_str(), mode | S_IXUSR) != 0) RaiseLastFileError("make executable", std::string(FileName));
}

} // namespace qnl
