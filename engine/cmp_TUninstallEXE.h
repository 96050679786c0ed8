// The uninstaller program of a product: an install file that also lists the product with the system.
#pragma once

#include "engine/TCustomInstallFile.h"

namespace qnl {

QNL_IEXCEPTION(IEUninstallEXE, IException);

// Installed like any install file (Net set by default); once installed it writes the
// product's "DisplayName" and "UninstallString" into the uninstall key instead of a Files
// entry. While it exists the build does not add an uninstaller of its own.
//
// With FileName "QuenloftUninstall.exe" and no IncludeFromDir it is the product's own
// uninstaller: the build takes it from the product directory, and the installation finds it
// in the archive under the name the build gave it.
class TUninstallEXE : public TCustomInstallFile {
  QNL_CLASS(TUninstallEXE, TCustomInstallFile)
public:
  explicit TUninstallEXE(TComponent* AOwner);
  ~TUninstallEXE() override;

  void WriteUninstallInfo(const std::string& Key) override;
  std::string SourcePath() const override;
  // The product's own uninstaller: FileName "QuenloftUninstall.exe" without IncludeFromDir.
  bool IsProductUninstaller() const;

protected:
  void MemberNameRead(const std::string& MemberName) override;

private:
  std::string FMemberName; // of the product's uninstaller, as its archive holds it
};

} // namespace qnl
