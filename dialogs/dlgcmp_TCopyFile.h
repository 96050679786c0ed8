// The copy-progress dialog: places the progress window that the during-copy manager opens.
#pragma once

#include "dialogs/TDuringInstallDlg.h"

namespace qnl {

// Only its placement and its DialogManager affect the window; its other settings are not
// handed to it.
class TCopyFileDlg : public TDuringInstallDlg {
  QNL_CLASS(TCopyFileDlg, TDuringInstallDlg)
public:
  explicit TCopyFileDlg(TComponent* AOwner);
};

} // namespace qnl
