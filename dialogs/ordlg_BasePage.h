// What the wizard pages of the installation have in common: the Previous, Next, Finish and
// Cancel buttons and which of them show.
#pragma once

#include <string>

#include "dialogs/TBaseInstallForm.h"

namespace qnl {

class TControl;
class TWinControl;

// A page with BackBtn, ProceedBtn and CancelBtn, or, on an ending page, BackBtn, ProceedBtn and
// FinishBtn (a page whose layout has a FinishBtn).
class TBasePageForm : public TBaseInstallForm {
  QNL_CLASS(TBasePageForm, TBaseInstallForm)
public:
  TBasePageForm(TComponent* AOwner, TManagerType Kind, int32_t Order);

  void BackBtnClick(TObject* Sender) { PreviousPage(); }
  void ProceedBtnClick(TObject* Sender) { NextPage(); }
  void CancelBtnClick(TObject* Sender) { ConfirmCancel(); }
  // Back only after a visible page; an ending page shows Finish in place of Next on the last page.
  void PreparePage() override;

  // The control of that name in the layout; Exception when the layout has none.
  TControl& Control(const std::string& Name) const;
  // True while code fills the controls, so that their change handlers write nothing back.
  bool Filling() const { return FFilling > 0; }

protected:
  // The focus goes to Button when it and the page show.
  void FocusButton(const std::string& Name);
  // Marks a stretch of code that fills the controls.
  class TFilling {
  public:
    explicit TFilling(TBasePageForm& Form) : FForm(Form) { ++FForm.FFilling; }
    ~TFilling() { --FForm.FFilling; }
    TFilling(const TFilling&) = delete;
    TFilling& operator=(const TFilling&) = delete;

  private:
    TBasePageForm& FForm;
  };

private:
  int FFilling = 0;
};

} // namespace qnl
