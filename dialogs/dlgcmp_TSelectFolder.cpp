// The dialog component of the page on which the user names the product's program folder.
#include "dialogs/dlgcmp_TSelectFolder.h"

#include "common/exceptions_Quenloft.h"
#include "dialogs/dlgcmp_TSelectDestination.h"
#include "dialogs/ordlg_SelectFolder.h"
#include "links/ShellLinkRegistries.h"
#include "links/TCustomShellLinkGroup.h"

namespace qnl {

namespace {
constexpr int32_t kStandAloneCode = -991;
} // namespace

QNL_BEGIN_CLASS(TSelectFolderDlg)
    // Stored as any install object, so that a project naming another kind loads and then fails
    // with the message that names the dialog when the property is read.
    .Ref<TInstallContainer>(
        "Container", [](const C* Dialog) -> TInstallContainer* { return Dialog->Container(); }, &C::SetContainer);
QNL_END_CLASS

TSelectFolderDlg::TSelectFolderDlg(TComponent* AOwner)
    : TBasePageDlg(AOwner, dmBeforeInstall, TSelectFolderForm::StaticClassInfo(), 60, kStandAloneCode) {
  if (MainLinkGroup()) SetContainer(MainLinkGroup());
}

TCustomShellLinkGroup* TSelectFolderDlg::Container() const {
  TInstallContainer* stored = TBasePageDlg::Container();
  auto* group = dynamic_cast<TCustomShellLinkGroup*>(stored);
  if (stored && !group) throw IException("The container for %s must be a TCustomShellLinkGroup", {Name()});
  return group;
}

bool TSelectFolderDlg::ShowDialog() {
  Container();
  CheckDialogContainer(*this);
  return TBasePageDlg::ShowDialog();
}

void TSelectFolderDlg::AssignDialogProperties() {
  // A page inside the wizard is handed over here too: a container of the wrong kind stops
  // the installation before the page could move it into the Programs menu.
  Container();
  TBasePageDlg::AssignDialogProperties();
}

} // namespace qnl
