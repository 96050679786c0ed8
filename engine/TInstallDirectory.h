// An install directory: a plain file container mapped to a destination directory.
#pragma once

#include "engine/TFileContainer.h"

namespace qnl {

// A file container a project stores (registered type 1000); it is processed with its
// container and included unless the project says otherwise.
class TInstallDirectory : public TFileContainer {
  QNL_CLASS(TInstallDirectory, TFileContainer)
public:
  explicit TInstallDirectory(TComponent* AOwner);

  // Removes and frees, last to first, every install file whose source does not exist.
  void RemoveMissingFiles();
};

} // namespace qnl
