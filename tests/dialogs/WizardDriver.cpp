// Runs test code inside the modal loop of a wizard window or of a dialog shown by itself.
#include "tests/dialogs/WizardDriver.h"

#include <cstdlib>

#include <QTimer>
#include <QWidget>

#include "dialogs/TCustomBaseInstallDlg.h"
#include "vcl/Application.h"

namespace qnl::test {

TBaseFormContainer* RunningWizard() {
  for (int i = 0; i < Application().ComponentCount(); ++i)
    if (auto* wizard = dynamic_cast<TBaseFormContainer*>(Application().Components(i))) return wizard;
  return nullptr;
}

void WhenWizardShows(std::function<void(TBaseFormContainer&)> Action) {
  QTimer::singleShot(0, [Action] {
    TBaseFormContainer* wizard = RunningWizard();
    if (!wizard || !wizard->Modal() || !wizard->Widget()->isVisible()) return WhenWizardShows(Action);
    Action(*wizard);
  });
}

void WhenDialogShows(TCustomBaseInstallDlg& Dialog, std::function<void(TForm&)> Action) {
  QTimer::singleShot(0, [&Dialog, Action] {
    auto* form = dynamic_cast<TForm*>(Dialog.CurrentForm());
    if (!form || !form->Modal() || !form->Widget()->isVisible()) return WhenDialogShows(Dialog, Action);
    Action(*form);
  });
}

QImage GrabFor(TForm& Form, const std::string& Name) {
  const char* dir = std::getenv("QNL_GRAB_DIR");
  return TFormDriver(Form).Grab(dir ? std::string(dir) + "/" + Name + ".png" : "");
}

} // namespace qnl::test
