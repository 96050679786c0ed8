// The dialog component of the licence agreement page.
#pragma once

#include <memory>

#include "dialogs/dlgcmp_TBasePageDlg.h"
#include "rtl/Strings.h"

namespace qnl {

// LicenseAgreement is the text its page shows. Without a manager it runs by itself on the notification
// -981, which only a project sends.
class TLicenseDlg : public TBasePageDlg {
  QNL_CLASS(TLicenseDlg, TBasePageDlg)
public:
  explicit TLicenseDlg(TComponent* AOwner);
  ~TLicenseDlg() override;

  TStrings* LicenseAgreement() const { return FText.get(); }
  void SetLicenseAgreement(const TStrings* Value) { FText->Assign(Value); }

protected:
  void HandOver(TBasePageForm& Page) override;

private:
  std::unique_ptr<TStringList> FText;
};

} // namespace qnl
