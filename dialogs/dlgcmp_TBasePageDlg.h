// What the dialog components of the wizard pages have in common.
#pragma once

#include "dialogs/TCustomBaseInstallDlg.h"

namespace qnl {

class TBasePageForm;

// A page dialog of the page registry. Shown by itself its Next and Finish end it with OK and
// its Previous is hidden; without a manager it runs on its own notification code.
class TBasePageDlg : public TBaseInstallDlg {
  QNL_CLASS(TBasePageDlg, TBaseInstallDlg)
public:
  TBasePageDlg(TComponent* AOwner, TManagerType Kind, const TClassInfo& FormClass, int32_t Order,
               int32_t StandAloneCode);

  void AssignDialogProperties() override;

protected:
  int32_t StandAloneCode() const override { return FStandAloneCode; }
  // Hands this dialog's own settings (texts) to its page.
  virtual void HandOver(TBasePageForm& Page) {}
  // Pages that prepare themselves when handed over (their contents come from install objects).
  virtual bool PrepareOnAssign() const { return false; }

private:
  int32_t FStandAloneCode;
};

} // namespace qnl
