// The licence agreement page.
#pragma once

#include "dialogs/ordlg_BasePage.h"

namespace qnl {

// Its text in the read-only rich-text view Agreement.
class TLicenseForm : public TBasePageForm {
  QNL_CLASS(TLicenseForm, TBasePageForm)
public:
  explicit TLicenseForm(TComponent* AOwner);
};

} // namespace qnl
