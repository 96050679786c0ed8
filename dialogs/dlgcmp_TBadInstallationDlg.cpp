// The dialog component of the bad installation page.
#include "dialogs/dlgcmp_TBadInstallationDlg.h"

#include "dialogs/ordlg_BadInstallForm.h"
#include "engine/TInstallContainer.h"

namespace qnl {

QNL_BEGIN_CLASS(TBadInstallationDlg);
QNL_END_CLASS

TBadInstallationDlg::TBadInstallationDlg(TComponent* AOwner)
    : TBasePageDlg(AOwner, dmAfterBadInstall, TBadInstallForm::StaticClassInfo(), 10, icBadInstall) {}

} // namespace qnl
