// The dialog component of the welcome page.
#include "dialogs/dlgcmp_TWelcomeDlg.h"

#include "dialogs/ordlg_WelcomeDlg.h"

namespace qnl {

namespace {
// The installation itself never sends it; a project's own code may.
constexpr int32_t kWelcomeCode = -982;
} // namespace

QNL_BEGIN_CLASS(TWelcomeDlg);
QNL_END_CLASS

TWelcomeDlg::TWelcomeDlg(TComponent* AOwner)
    : TBasePageDlg(AOwner, dmBeforeInstall, TWelcomeForm::StaticClassInfo(), 10, kWelcomeCode) {}

} // namespace qnl
