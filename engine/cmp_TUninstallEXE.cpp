// The uninstaller program and the product's entry in the system's list of installed programs.
#include "engine/cmp_TUninstallEXE.h"

#include "common/routines_Strings.h"
#include "engine/InstallFileProperties.h"
#include "engine/ProductDirectory.h"
#include "engine/TCustomInstall.h"
#include "platform/files/FileCreation.h"
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

bool TUninstallEXE::IsProductUninstaller() const {
  return Trim(IncludeFromDir()).empty() && SameText(Trim(FileName()), kProductUninstallerFile);
}

std::string TUninstallEXE::SourcePath() const {
  if (!IsProductUninstaller()) return TCustomInstallFile::SourcePath();
  if (!FMemberName.empty()) return FMemberName;
  try {
    return AddBackSlash(FindProductDirectory()) + kProductUninstallerFile;
  } catch (const IENoQuenloftPath&) {
    // Where no product directory is (the machine a distribution is installed on), the name
    // comes from the archive.
    return TCustomInstallFile::SourcePath();
  }
}

void TUninstallEXE::MemberNameRead(const std::string& MemberName) {
  if (IsProductUninstaller()) FMemberName = MemberName;
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
  // The product's uninstaller is a native program, and an archive keeps no run rights: the
  // command just registered must start as it is.
  if (IsProductUninstaller()) SetExecutable(InstalledPath());
}

} // namespace qnl
