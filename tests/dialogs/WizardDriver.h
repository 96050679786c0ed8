// Runs test code inside the modal loop of a wizard window or of a dialog shown by itself.
#pragma once

#include <functional>
#include <string>

#include "dialogs/TBaseInstallForm.h"
#include "dialogs/dlgcmp_TBaseContainer.h"
#include "tests/vcl/FormDriver.h"

namespace qnl {
class TCustomBaseInstallDlg;
}

namespace qnl::test {

// The wizard window while a manager's RunWizard shows it.
TBaseFormContainer* RunningWizard();
// Runs Action once the wizard shows modally.
void WhenWizardShows(std::function<void(TBaseFormContainer&)> Action);
// Runs Action once Dialog's own form shows modally.
void WhenDialogShows(TCustomBaseInstallDlg& Dialog, std::function<void(TForm&)> Action);
// A driver of the wizard's page in front.
inline TFormDriver FrontPage(TBaseFormContainer& Wizard) { return TFormDriver(*Wizard.CurrentPage()); }
// Grabs Form to <QNL_GRAB_DIR>/<Name>.png when QNL_GRAB_DIR is set; the picture in any case.
QImage GrabFor(TForm& Form, const std::string& Name);

} // namespace qnl::test
