// The welcome page.
#include "dialogs/ordlg_WelcomeDlg.h"

#include "dialogs/DialogLayouts.h"

namespace qnl {

QNL_BEGIN_CLASS(TWelcomeForm);
QNL_END_CLASS

TWelcomeForm::TWelcomeForm(TComponent* AOwner) : TBasePageForm(AOwner, dmBeforeInstall, 5) {
  LoadLayout(DialogLayout("TWelcomeForm"));
}

} // namespace qnl
