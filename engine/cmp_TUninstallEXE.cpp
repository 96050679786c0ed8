// The uninstaller program and the product's entry in the system's list of installed programs.
#include "engine/cmp_TUninstallEXE.h"

#include "common/routines_Strings.h"
#include "engine/InstallFileProperties.h"
#include "engine/TCustomInstall.h"
#include "platform/registry/Registry.h"
#include "settings/cmp_TInstallInformation.h"
#include "settings/routines_Registry.h"

namespace qnl {

QNL_BEGIN_CLASS(TUninstallEXE)
QNL_INSTALL_FILE_PROPERTIES.Prop("Order", &C::Order, &C::SetOrder).Prop("State", &C::State, &C::SetState);
QNL_END_CLASS

TUninstallEXE::TUninstallEXE(TComponent* AOwner) : TCustomInstallFile(AOwner) { SetNet(true); }

TUninstallEXE::~TUninstallEXE() {
  if (TCustomInstall* install = TCustomInstall::Current()) install->BuildInfo()->AddUninstallOnCreate = false;
}

void TUninstallEXE::WriteUninstallInfo(const std::string& Key) {
  TCustomInstall* install = TCustomInstall::Current();
  if (!install)
    throw IEUninstallEXE(
        "%s could not write information about the uninstall to the registry because there was no TInstall component",
        {Name()});
  const int root = static_cast<int>(TRootKey::rkLocalMachine);
  std::string product = Trim(install->Information()->FProductName);
  RegWriteString(root, Key, "DisplayName", product);
  RegWriteString(root, Key, "UninstallString", InstalledPath() + " " + product);
}

} // namespace qnl
