// What the wizard pages of the installation have in common.
#include "dialogs/ordlg_BasePage.h"

#include "rtl/SysUtils.h"
#include "vcl/Form.h"

namespace qnl {

QNL_BEGIN_CLASS(TBasePageForm)
    .Method("BackBtnClick", &C::BackBtnClick)
    .Method("ProceedBtnClick", &C::ProceedBtnClick)
    .Method("CancelBtnClick", &C::CancelBtnClick);
QNL_END_CLASS

TBasePageForm::TBasePageForm(TComponent* AOwner, TManagerType Kind, int32_t Order) : TBaseInstallForm(AOwner, Kind) {
  SetOrder(Order);
}

TControl& TBasePageForm::Control(const std::string& Name) const {
  auto* control = dynamic_cast<TControl*>(FindComponent(Name));
  if (!control) throw Exception("The form " + this->Name() + " has no control " + Name);
  return *control;
}

void TBasePageForm::PreparePage() {
  Control("BackBtn").SetVisible(!IsFirstPage());
  if (!FindComponent("FinishBtn")) {
    FocusButton("ProceedBtn");
    return;
  }
  Control("ProceedBtn").SetVisible(!IsLastPage());
  Control("FinishBtn").SetVisible(!Control("ProceedBtn").Visible());
  FocusButton(Control("ProceedBtn").Visible() ? "ProceedBtn" : "FinishBtn");
}

void TBasePageForm::FocusButton(const std::string& Name) {
  auto* button = dynamic_cast<TWinControl*>(&Control(Name));
  if (!button || !button->Visible() || !Visible()) return;
  SetActiveControl(button);
  // A page inside the wizard window: the window's focus is the one that counts.
  if (auto* window = dynamic_cast<TCustomForm*>(Owner())) window->SetActiveControl(button);
}

} // namespace qnl
