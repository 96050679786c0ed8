// What the dialog components of the wizard pages have in common.
#include "dialogs/dlgcmp_TBasePageDlg.h"

#include "dialogs/dlgcmp_TBaseContainer.h"
#include "dialogs/ordlg_BasePage.h"
#include "vcl/Button.h"

namespace qnl {

QNL_BEGIN_CLASS(TBasePageDlg);
QNL_END_CLASS

TBasePageDlg::TBasePageDlg(TComponent* AOwner, TManagerType Kind, const TClassInfo& FormClass, int32_t Order,
                           int32_t StandAloneCode)
    : TBaseInstallDlg(AOwner, Kind, &PageRegistry(), &FormClass), FStandAloneCode(StandAloneCode) {
  SetOrder(Order);
}

void TBasePageDlg::AssignDialogProperties() {
  TBaseInstallDlg::AssignDialogProperties();
  auto* page = dynamic_cast<TBasePageForm*>(CurrentForm());
  if (!page) return;
  page->Control("BackBtn").SetVisible(false);
  // Inside the wizard window a button's result would end the whole wizard: there Next and
  // Finish only move through the pages.
  if (!dynamic_cast<TBaseFormContainer*>(page->Owner()))
    for (const char* name : {"ProceedBtn", "FinishBtn"})
      if (auto* button = dynamic_cast<TButton*>(page->FindComponent(name))) button->SetModalResult(mrOk);
  HandOver(*page);
  if (!PrepareOnAssign()) return;
  page->PreparePage();
  page->Control("BackBtn").SetVisible(false);
}

} // namespace qnl
