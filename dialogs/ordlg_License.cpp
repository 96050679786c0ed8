// The licence agreement page.
#include "dialogs/ordlg_License.h"

#include "dialogs/DialogLayouts.h"

namespace qnl {

QNL_BEGIN_CLASS(TLicenseForm);
QNL_END_CLASS

TLicenseForm::TLicenseForm(TComponent* AOwner) : TBasePageForm(AOwner, dmBeforeInstall, 20) {
  LoadLayout(DialogLayout("TLicenseForm"));
}

} // namespace qnl
