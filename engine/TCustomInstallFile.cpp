// The install file base: its registered type and membership of the list of install files.
#include "engine/TCustomInstallFile.h"

#include "engine/InstallRegistries.h"

namespace qnl {

QNL_BEGIN_CLASS(TCustomInstallFile)
QNL_END_CLASS

TCustomInstallFile::TCustomInstallFile(TComponent* AOwner) : TFileRelated(AOwner) {
  SetNet(false);
  AllInstallFiles().Add(this);
}

TCustomInstallFile::~TCustomInstallFile() { AllInstallFiles().Remove(this); }

void TCustomInstallFile::InstallObjects() { throw ENotImplemented("TCustomInstallFile.Install"); }

} // namespace qnl
