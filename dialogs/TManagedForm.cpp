// A dialog form that belongs to a dialog manager.
#include "dialogs/TManagedForm.h"

#include "dialogs/TDialogManager.h"

namespace qnl {

QNL_BEGIN_CLASS(TManagedForm).Ref<TDialogManager>("DM", &C::DM, &C::SetDM);
QNL_END_CLASS

TManagedForm::TManagedForm(TComponent* AOwner, TManagerType Kind) : TBaseQuenloftForm(AOwner) {
  SetDM(FindDialogManager(Kind));
}

TManagedForm::~TManagedForm() { SetDM(nullptr); }

void TManagedForm::SetDM(TDialogManager* Value) {
  if (FDM == Value) return;
  // Free notifications are mutual: removing this one could take away one the other side
  // asked for. A notification about a component no longer referenced changes nothing.
  FDM = Value;
  if (FDM) FDM->FreeNotification(this);
}

void TManagedForm::Notification(TComponent* AComponent, TOperation Operation) {
  TBaseQuenloftForm::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDM) FDM = nullptr;
}

} // namespace qnl
