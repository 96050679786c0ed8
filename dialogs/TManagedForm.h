// A dialog form that belongs to a dialog manager.
#pragma once

#include "dialogs/DialogTypes.h"
#include "dialogs/TBaseQuenloftForm.h"

namespace qnl {

class TDialogManager;

// A form whose DM starts as the install component's manager of Kind.
class TManagedForm : public TBaseQuenloftForm {
  QNL_CLASS(TManagedForm, TBaseQuenloftForm)
public:
  TManagedForm(TComponent* AOwner, TManagerType Kind);
  ~TManagedForm() override;

  TDialogManager* DM() const { return FDM; }
  void SetDM(TDialogManager* Value);
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TDialogManager* FDM = nullptr;
};

} // namespace qnl
