// The dialog component of the good installation page.
#include "dialogs/dlgcmp_TGoodInstallationDlg.h"

#include "dialogs/ordlg_GoodInstallForm.h"
#include "engine/TInstallContainer.h"

namespace qnl {

QNL_BEGIN_CLASS(TGoodInstallationDlg);
QNL_END_CLASS

TGoodInstallationDlg::TGoodInstallationDlg(TComponent* AOwner)
    : TBasePageDlg(AOwner, dmAfterGoodInstall, TGoodInstallForm::StaticClassInfo(), 10, icGoodInstall) {}

} // namespace qnl
