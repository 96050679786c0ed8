// What the install passes of the files share: the work the archive component does ahead.
#pragma once

#include <vector>

namespace qnl {

class TFileContainer;

// Held through install passes: the outermost one, ending, makes the archive component forget
// what it did ahead (it frees it and closes the archive).
class TInstallPassScope {
public:
  TInstallPassScope();
  ~TInstallPassScope();
  TInstallPassScope(const TInstallPassScope&) = delete;
  TInstallPassScope& operator=(const TInstallPassScope&) = delete;
  // Whether this is the outermost scope.
  bool Outermost() const { return FOutermost; }

private:
  bool FOutermost;
};

// Tells the archive component where the files of Containers and of the containers below them
// will go, so that it writes them ahead while the files before them are installed.
void ExpectDestinations(const std::vector<TFileContainer*>& Containers);

} // namespace qnl
