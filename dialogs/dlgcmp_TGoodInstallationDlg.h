// The dialog component of the good installation page.
#pragma once

#include "dialogs/dlgcmp_TBasePageDlg.h"

namespace qnl {

// Without a manager it runs by itself on the good installation's notice (-995).
class TGoodInstallationDlg : public TBasePageDlg {
  QNL_CLASS(TGoodInstallationDlg, TBasePageDlg)
public:
  explicit TGoodInstallationDlg(TComponent* AOwner);
};

} // namespace qnl
