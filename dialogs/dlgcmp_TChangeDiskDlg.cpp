// The change-disk dialog.
#include "dialogs/dlgcmp_TChangeDiskDlg.h"

#include "dialogs/TDialogManager.h"
#include "dialogs/ordlg_ChangeDisk.h"

namespace qnl {

QNL_BEGIN_CLASS(TChangeDiskDlg).Ref<TDialogManager>("DialogManager", &C::DialogManager, &C::SetDialogManager);
QNL_END_CLASS

TChangeDiskDlg::TChangeDiskDlg(TComponent* AOwner)
    : TDuringInstallDlg(AOwner, dmChangeDisk, &ChangeDiskRegistry(), &TChangeDiskForm::StaticClassInfo()) {}

} // namespace qnl
