// The welcome page.
#pragma once

#include "dialogs/ordlg_BasePage.h"

namespace qnl {

class TWelcomeForm : public TBasePageForm {
  QNL_CLASS(TWelcomeForm, TBasePageForm)
public:
  explicit TWelcomeForm(TComponent* AOwner);
};

} // namespace qnl
