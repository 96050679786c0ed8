// The dialog component of the licence agreement page.
#include "dialogs/dlgcmp_TLicenseDlg.h"

#include "dialogs/ordlg_License.h"
#include "vcl/RichEdit.h"

namespace qnl {

namespace {
constexpr int32_t kStandAloneCode = -981;
} // namespace

QNL_BEGIN_CLASS(TLicenseDlg).Sub("LicenseAgreement", &C::LicenseAgreement);
QNL_END_CLASS

TLicenseDlg::TLicenseDlg(TComponent* AOwner)
    : TBasePageDlg(AOwner, dmBeforeInstall, TLicenseForm::StaticClassInfo(), 20, kStandAloneCode),
      FText(std::make_unique<TStringList>()) {}

TLicenseDlg::~TLicenseDlg() = default;

void TLicenseDlg::HandOver(TBasePageForm& Page) {
  dynamic_cast<TRichEdit&>(Page.Control("Agreement")).Lines()->Assign(FText.get());
}

} // namespace qnl
