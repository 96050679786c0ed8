// Makes the dialog classes that a project can hold known to the class registry.
#include "dialogs/RegisterDialogClasses.h"

#include "dialogs/DialogRegistries.h"
#include "dialogs/TDialogManager.h"
#include "dialogs/dlgcmp_TBadInstallationDlg.h"
#include "dialogs/dlgcmp_TChangeDiskDlg.h"
#include "dialogs/dlgcmp_TCopyFile.h"
#include "dialogs/dlgcmp_TGoodInstallationDlg.h"
#include "dialogs/dlgcmp_TInstallStatusDlg.h"
#include "dialogs/dlgcmp_TLicenseDlg.h"
#include "dialogs/dlgcmp_TReadmeDlg.h"
#include "dialogs/dlgcmp_TReboot.h"
#include "dialogs/dlgcmp_TSelectDestination.h"
#include "dialogs/dlgcmp_TSelectFolder.h"
#include "dialogs/dlgcmp_TWelcomeDlg.h"
#include "dialogs/ordlg_BadInstallForm.h"
#include "dialogs/ordlg_ChangeDisk.h"
#include "dialogs/ordlg_CopyFile.h"
#include "dialogs/ordlg_GoodInstallForm.h"
#include "dialogs/ordlg_License.h"
#include "dialogs/ordlg_Readme.h"
#include "dialogs/ordlg_Reboot.h"
#include "dialogs/ordlg_SelectDestination.h"
#include "dialogs/ordlg_SelectFolder.h"
#include "dialogs/ordlg_WelcomeDlg.h"

namespace qnl {

namespace {

// A form kind registers its bare entry, and its dialog component's unit takes it out again:
// the form then takes part only through dialog components placed in the project.
void RegisterFormAndDialog(TFormRegistry& Registry, const TClassInfo& Form, const TClassInfo& Dialog) {
  Registry.Add(Form, nullptr);
  Registry.RemoveBare(Form);
  RegisterClass(Dialog);
}

template <class TFormClass, class TDialogClass>
void RegisterPage() {
  RegisterFormAndDialog(PageRegistry(), TFormClass::StaticClassInfo(), TDialogClass::StaticClassInfo());
}

} // namespace

void RegisterDialogClasses() {
  RegisterClass(TDialogManager::StaticClassInfo());
  RegisterPage<TWelcomeForm, TWelcomeDlg>();
  RegisterPage<TLicenseForm, TLicenseDlg>();
  RegisterPage<TReadmeForm, TReadmeDlg>();
  RegisterPage<TSelectDestinationForm, TSelectDestinationDlg>();
  RegisterPage<TSelectFolderForm, TSelectFolderDlg>();
  RegisterPage<TGoodInstallForm, TGoodInstallationDlg>();
  RegisterPage<TBadInstallForm, TBadInstallationDlg>();
  RegisterPage<TRebootForm, TRebootDlg>();
  RegisterFormAndDialog(CopyRegistry(), TCopyFileForm::StaticClassInfo(), TCopyFileDlg::StaticClassInfo());
  RegisterFormAndDialog(ChangeDiskRegistry(), TChangeDiskForm::StaticClassInfo(), TChangeDiskDlg::StaticClassInfo());
  RegisterClass(TInstallStatusDlg::StaticClassInfo());
}

} // namespace qnl
