// The good installation page.
#include "dialogs/ordlg_GoodInstallForm.h"

#include "dialogs/DialogLayouts.h"

namespace qnl {

QNL_BEGIN_CLASS(TGoodInstallForm);
QNL_END_CLASS

TGoodInstallForm::TGoodInstallForm(TComponent* AOwner) : TBasePageForm(AOwner, dmAfterGoodInstall, 10) {
  LoadLayout(DialogLayout("TGoodInstallForm"));
}

} // namespace qnl
