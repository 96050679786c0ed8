// The readme page.
#include "dialogs/ordlg_Readme.h"

#include "dialogs/DialogLayouts.h"

namespace qnl {

QNL_BEGIN_CLASS(TReadmeForm);
QNL_END_CLASS

TReadmeForm::TReadmeForm(TComponent* AOwner) : TBasePageForm(AOwner, dmBeforeInstall, 30) {
  LoadLayout(DialogLayout("TReadmeForm"));
}

} // namespace qnl
