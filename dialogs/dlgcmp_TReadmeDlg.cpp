// The dialog component of the readme page.
#include "dialogs/dlgcmp_TReadmeDlg.h"

#include "dialogs/ordlg_Readme.h"
#include "vcl/RichEdit.h"

namespace qnl {

namespace {
constexpr int32_t kStandAloneCode = -977;
} // namespace

QNL_BEGIN_CLASS(TReadmeDlg).Sub("ReadmeText", &C::ReadmeText);
QNL_END_CLASS

TReadmeDlg::TReadmeDlg(TComponent* AOwner)
    : TBasePageDlg(AOwner, dmBeforeInstall, TReadmeForm::StaticClassInfo(), 30, kStandAloneCode),
      FText(std::make_unique<TStringList>()) {}

TReadmeDlg::~TReadmeDlg() = default;

void TReadmeDlg::HandOver(TBasePageForm& Page) {
  dynamic_cast<TRichEdit&>(Page.Control("Information")).Lines()->Assign(FText.get());
}

} // namespace qnl
