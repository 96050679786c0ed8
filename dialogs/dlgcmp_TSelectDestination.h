// The dialog component of the page on which the user chooses the installation's directory.
#pragma once

#include "dialogs/dlgcmp_TBasePageDlg.h"

namespace qnl {

// Its Container is the install object whose destination the page sets. Without a manager it
// runs by itself on the notification -966, which only a project sends.
class TSelectDestinationDlg : public TBasePageDlg {
  QNL_CLASS(TSelectDestinationDlg, TBasePageDlg)
public:
  explicit TSelectDestinationDlg(TComponent* AOwner);
  // Exception without a Container, before anything is shown.
  bool ShowDialog() override;

protected:
  bool PrepareOnAssign() const override { return true; }
};

// Exception "Cannot run this dialog <name> with a blank Container property" when Dialog has none.
void CheckDialogContainer(const TCustomBaseInstallDlg& Dialog);

} // namespace qnl
