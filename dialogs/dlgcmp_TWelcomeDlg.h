// The dialog component of the welcome page.
#pragma once

#include "dialogs/dlgcmp_TBasePageDlg.h"

namespace qnl {

// Without a manager it runs by itself on the notification -982, which only a project sends.
class TWelcomeDlg : public TBasePageDlg {
  QNL_CLASS(TWelcomeDlg, TBasePageDlg)
public:
  explicit TWelcomeDlg(TComponent* AOwner);
};

} // namespace qnl
