// The readme page.
#pragma once

#include "dialogs/ordlg_BasePage.h"

namespace qnl {

// Its text in the read-only rich-text view Information.
class TReadmeForm : public TBasePageForm {
  QNL_CLASS(TReadmeForm, TBasePageForm)
public:
  explicit TReadmeForm(TComponent* AOwner);
};

} // namespace qnl
