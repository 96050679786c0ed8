// The change-disk dialog: while one is in the project, the change-disk manager prompts for
// the next disk; without one the install file asks with a message box.
#pragma once

#include "dialogs/TDuringInstallDlg.h"

namespace qnl {

class TChangeDiskDlg : public TDuringInstallDlg {
  QNL_CLASS(TChangeDiskDlg, TDuringInstallDlg)
public:
  explicit TChangeDiskDlg(TComponent* AOwner);
};

} // namespace qnl
