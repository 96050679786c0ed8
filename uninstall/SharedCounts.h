// Shared-file counts taken off once per uninstall, even when the uninstall is run again.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qnl {

// What an uninstall leaves of a shared file's count.
struct TSharedRelease {
  bool Shared = false;         // the file has a count in SharedDLLs (or had, on a rerun)
  uint32_t Remaining = 0;      // installations still using it after this one
  std::optional<bool> Removal; // at 0: the choice an earlier run took, when it took one
};

// The SharedDLLs counts of one product's uninstall. Before a count is written, the product's
// uninstall key records under "Released Counts" the value it counts and the count it is to
// become: a rerun after a killed uninstall finds the count either still one above that (and
// writes it) or at it (and leaves it), so no count goes down twice.
class TSharedCounts {
public:
  explicit TSharedCounts(std::string UninstallKey);

  // Takes this product's use of the file Path off its count, as the installation counted it
  // (under its short name when counted so, else its long name). Not shared: Shared false.
  TSharedRelease Release(const std::string& Path);
  // At 0: notes whether the file goes, then removes its count value.
  void NoteRemoval(const std::string& Path, bool Remove);
  void Forget(const std::string& Path);
  // The value Path is counted under, for the log.
  std::string CountedName(const std::string& Path) const;

private:
  std::string MarkerKey() const;

  std::string FUninstallKey;
};

} // namespace qnl
