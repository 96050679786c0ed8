// The dialog component of the page that offers to restart the machine.
#pragma once

#include "dialogs/dlgcmp_TBasePageDlg.h"

namespace qnl {

// Without a manager it runs by itself when a restart is to be offered (-987).
class TRebootDlg : public TBasePageDlg {
  QNL_CLASS(TRebootDlg, TBasePageDlg)
public:
  explicit TRebootDlg(TComponent* AOwner);

protected:
  bool PrepareOnAssign() const override { return true; }
};

} // namespace qnl
