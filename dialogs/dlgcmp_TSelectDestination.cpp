// The dialog component of the page on which the user chooses the installation's directory.
#include "dialogs/dlgcmp_TSelectDestination.h"

#include "common/exceptions_Quenloft.h"
#include "dialogs/ordlg_SelectDestination.h"

namespace qnl {

namespace {
constexpr int32_t kStandAloneCode = -966;
} // namespace

QNL_BEGIN_CLASS(TSelectDestinationDlg);
QNL_END_CLASS

TSelectDestinationDlg::TSelectDestinationDlg(TComponent* AOwner)
    : TBasePageDlg(AOwner, dmBeforeInstall, TSelectDestinationForm::StaticClassInfo(), 45, kStandAloneCode) {}

bool TSelectDestinationDlg::ShowDialog() {
  CheckDialogContainer(*this);
  return TBasePageDlg::ShowDialog();
}

void CheckDialogContainer(const TCustomBaseInstallDlg& Dialog) {
  if (!Dialog.Container())
    throw Exception(
        Format(TranslateMessage("Cannot run this dialog %s with a blank Container property"), {Dialog.Name()}));
}

} // namespace qnl
