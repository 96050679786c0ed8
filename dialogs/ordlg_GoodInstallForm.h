// The good installation page.
#pragma once

#include "dialogs/ordlg_BasePage.h"

namespace qnl {

class TGoodInstallForm : public TBasePageForm {
  QNL_CLASS(TGoodInstallForm, TBasePageForm)
public:
  explicit TGoodInstallForm(TComponent* AOwner);
};

} // namespace qnl
