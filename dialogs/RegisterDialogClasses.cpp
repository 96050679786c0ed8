// Makes the dialog classes that a project can hold known to the class registry.
#include "dialogs/RegisterDialogClasses.h"

#include "dialogs/DialogRegistries.h"
#include "dialogs/TDialogManager.h"
#include "dialogs/dlgcmp_TChangeDiskDlg.h"
#include "dialogs/dlgcmp_TCopyFile.h"
#include "dialogs/dlgcmp_TInstallStatusDlg.h"
#include "dialogs/ordlg_ChangeDisk.h"
#include "dialogs/ordlg_CopyFile.h"

namespace qnl {

namespace {

// A form kind registers its bare entry, and its dialog component's unit takes it out again:
// the form then takes part only through dialog components placed in the project.
void RegisterFormAndDialog(TFormRegistry& Registry, const TClassInfo& Form, const TClassInfo& Dialog) {
  Registry.Add(Form, nullptr);
  Registry.RemoveBare(Form);
  RegisterClass(Dialog);
}

} // namespace

void RegisterDialogClasses() {
  RegisterClass(TDialogManager::StaticClassInfo());
  RegisterFormAndDialog(CopyRegistry(), TCopyFileForm::StaticClassInfo(), TCopyFileDlg::StaticClassInfo());
  RegisterFormAndDialog(ChangeDiskRegistry(), TChangeDiskForm::StaticClassInfo(), TChangeDiskDlg::StaticClassInfo());
  RegisterClass(TInstallStatusDlg::StaticClassInfo());
}

} // namespace qnl
