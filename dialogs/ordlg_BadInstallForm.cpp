// The bad installation page.
#include "dialogs/ordlg_BadInstallForm.h"

#include "dialogs/DialogLayouts.h"

namespace qnl {

QNL_BEGIN_CLASS(TBadInstallForm);
QNL_END_CLASS

TBadInstallForm::TBadInstallForm(TComponent* AOwner) : TBasePageForm(AOwner, dmAfterBadInstall, 10) {
  LoadLayout(DialogLayout("TBadInstallForm"));
}

} // namespace qnl
