// The dialog component of the page that offers to restart the machine.
#include "dialogs/dlgcmp_TReboot.h"

#include "dialogs/ordlg_Reboot.h"
#include "engine/TInstallContainer.h"

namespace qnl {

QNL_BEGIN_CLASS(TRebootDlg);
QNL_END_CLASS

TRebootDlg::TRebootDlg(TComponent* AOwner)
    : TBasePageDlg(AOwner, dmReboot, TRebootForm::StaticClassInfo(), 10, icRebootNeeded) {}

} // namespace qnl
