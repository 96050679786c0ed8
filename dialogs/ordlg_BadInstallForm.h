// The bad installation page.
#pragma once

#include "dialogs/ordlg_BasePage.h"

namespace qnl {

class TBadInstallForm : public TBasePageForm {
  QNL_CLASS(TBadInstallForm, TBasePageForm)
public:
  explicit TBadInstallForm(TComponent* AOwner);
};

} // namespace qnl
