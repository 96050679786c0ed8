// The base of the dialogs that accompany the installation while it works (progress, status,
// disk prompt): it publishes the settings they share.
#pragma once

#include "dialogs/TCustomBaseInstallDlg.h"

namespace qnl {

class TDuringInstallDlg : public TCustomBaseInstallDlg {
  QNL_CLASS(TDuringInstallDlg, TCustomBaseInstallDlg)
public:
  using TCustomBaseInstallDlg::TCustomBaseInstallDlg;
};

} // namespace qnl
