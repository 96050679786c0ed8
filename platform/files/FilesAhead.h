// Files written ahead on worker threads, which work on host paths the main thread mapped for
// them: mapping a Windows path reads the drive links, which only the main thread may do.
#pragma once

#include <sys/types.h>

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rtl/DateTime.h"

namespace qnl {

// The host path of a Windows path (main thread); nullopt when it cannot be mapped.
std::optional<std::string> HostPathFor(std::string_view WindowsPath);
// The host file time SetFileDateTime gives for a local date-time; nullopt when it has none.
std::optional<struct timespec> HostFileTime(TDateTime Time);

// Creates the missing directories of HostDir, outermost first, adding each one made to Made;
// false when one cannot be made or HostDir is no directory.
bool MakeHostDirectories(const std::string& HostDir, std::vector<std::string>& Made);
// Removes the directory HostDir when it is empty; false when it stays.
bool RemoveEmptyHostDirectory(const std::string& HostDir);
// Removes the file HostPath; a missing one counts as removed.
bool RemoveHostFile(const std::string& HostPath);

// A new file that no other opener had: created exclusively, written in whole buffers, dated on
// its handle and closed. Nothing raises: a failure shows as false and leaves errno.
class THostFileAhead {
public:
  THostFileAhead() = default;
  ~THostFileAhead();
  THostFileAhead(const THostFileAhead&) = delete;
  THostFileAhead& operator=(const THostFileAhead&) = delete;

  // False when the file exists (errno EEXIST) or cannot be created.
  bool Create(const std::string& HostPath);
  bool Write(const void* Buffer, size_t Count);
  // Sets the last write time and closes the file.
  bool Finish(const struct timespec& Time);

private:
  int FHandle = -1;
};

} // namespace qnl
