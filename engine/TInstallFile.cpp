// The install file a project stores: its published properties.
#include "engine/TInstallFile.h"

#include "engine/InstallFileProperties.h"

namespace qnl {

QNL_BEGIN_CLASS(TInstallFile)
QNL_INSTALL_FILE_PROPERTIES.Prop("ActiveX", &C::ActiveX, &C::SetActiveX)
    .Prop("RegisterAsHelp", &C::RegisterAsHelp, &C::SetRegisterAsHelp)
    .Prop("RunAfterInstall", &C::RunAfterInstall, &C::SetRunAfterInstall)
    .Prop("Uninstall", &C::Uninstall, &C::SetUninstall);
QNL_END_CLASS

} // namespace qnl
