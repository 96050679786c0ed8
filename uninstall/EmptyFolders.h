// The folders an uninstall empties: removed once nothing is left in them.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "uninstall/RecordedPaths.h"

namespace qnl {

// Collects the folders of removed files and removes those left empty, and their parents as
// they become empty, up to the machine's standard folders (drive C:, Program Files and Common
// Files, the Windows folders, every shell folder and the folders above them), which stay; a
// desktop menu folder goes only below applications/quenloft. A folder with anything in it
// stays: whatever is there was not installed by this product, or waits for the restart.
class TEmptyFolders {
public:
  TEmptyFolders();

  // The folder of a file that was removed (or is to be, at the restart).
  void Note(const std::string& RemovedFile, TRecordedPlace Place);
  // Removes the empty ones, deepest first. Kept: the noted folders that still hold something.
  void RemoveEmpty(std::vector<std::string>& Removed, std::vector<std::string>& Kept);

private:
  bool MayRemove(const std::string& Folder, TRecordedPlace Place) const;

  std::set<std::string> FStandard; // upper case
  std::vector<std::pair<std::string, TRecordedPlace>> FNoted;
};

} // namespace qnl
