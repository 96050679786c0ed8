// The dialog component of the bad installation page.
#pragma once

#include "dialogs/dlgcmp_TBasePageDlg.h"

namespace qnl {

// Without a manager it runs by itself on the bad installation's notice (-994).
class TBadInstallationDlg : public TBasePageDlg {
  QNL_CLASS(TBadInstallationDlg, TBasePageDlg)
public:
  explicit TBadInstallationDlg(TComponent* AOwner);
};

} // namespace qnl
