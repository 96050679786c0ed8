// The bases of the progress windows and of the disk prompt.
#include "dialogs/TBaseDuringCopyForm.h"

#include "archive/TQnlfCompress.h"
#include "dialogs/TBaseInstallForm.h"
#include "net/cmp_TNetInstallLocation.h"

namespace qnl {

QNL_BEGIN_CLASS(TBaseDuringCopyForm);
QNL_END_CLASS

QNL_BEGIN_CLASS(TBaseChangeDiskForm);
QNL_END_CLASS

void TBaseDuringCopyForm::ConfirmCancel() {
  if (!UserMayAbort()) return;
  QnlfCompress().SetAbort(true);
  SetNetAbort(true);
}

void TBaseChangeDiskForm::ConfirmCancel() {
  if (UserMayAbort()) SetModalResult(mrCancel);
}

} // namespace qnl
