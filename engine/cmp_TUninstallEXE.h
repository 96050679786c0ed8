// The uninstaller program of a product: an install file that also lists the product with the system.
#pragma once

#include "engine/TCustomInstallFile.h"

namespace qnl {

QNL_IEXCEPTION(IEUninstallEXE, IException);

// Installed like any install file (Net set by default); once installed it writes the
// product's "DisplayName" and "UninstallString" into the uninstall key instead of a Files
// entry. While it exists the build does not add an uninstaller of its own.
class TUninstallEXE : public TCustomInstallFile {
  QNL_CLASS(TUninstallEXE, TCustomInstallFile)
public:
  explicit TUninstallEXE(TComponent* AOwner);
  ~TUninstallEXE() override;

  void WriteUninstallInfo(const std::string& Key) override;
};

} // namespace qnl
