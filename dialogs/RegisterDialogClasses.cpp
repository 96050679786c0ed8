// Makes the dialog classes that a project can hold known to the class registry.
#include "dialogs/RegisterDialogClasses.h"

#include "dialogs/DialogRegistries.h"
#include "dialogs/TDialogManager.h"
#include "dialogs/dlgcmp_TBadInstallationDlg.h"
#include "dialogs/dlgcmp_TGoodInstallationDlg.h"
#include "dialogs/dlgcmp_TLicenseDlg.h"
#include "dialogs/dlgcmp_TReadmeDlg.h"
#include "dialogs/dlgcmp_TReboot.h"
#include "dialogs/dlgcmp_TSelectDestination.h"
#include "dialogs/dlgcmp_TWelcomeDlg.h"
#include "dialogs/ordlg_BadInstallForm.h"
#include "dialogs/ordlg_GoodInstallForm.h"
#include "dialogs/ordlg_License.h"
#include "dialogs/ordlg_Readme.h"
#include "dialogs/ordlg_Reboot.h"
#include "dialogs/ordlg_SelectDestination.h"
#include "dialogs/ordlg_WelcomeDlg.h"

namespace qnl {

namespace {

// A page form with its dialog component: the form's bare entry goes in and comes out again at
// once, so that the page shows only through a component placed in the project.
template <class TFormClass, class TDialogClass>
void RegisterPage() {
  PageRegistry().Add(TFormClass::StaticClassInfo(), nullptr);
  PageRegistry().RemoveBare(TFormClass::StaticClassInfo());
  RegisterClass(TDialogClass::StaticClassInfo());
}

} // namespace

void RegisterDialogClasses() {
  RegisterClass(TDialogManager::StaticClassInfo());
  RegisterPage<TWelcomeForm, TWelcomeDlg>();
  RegisterPage<TLicenseForm, TLicenseDlg>();
  RegisterPage<TReadmeForm, TReadmeDlg>();
  RegisterPage<TSelectDestinationForm, TSelectDestinationDlg>();
  RegisterPage<TGoodInstallForm, TGoodInstallationDlg>();
  RegisterPage<TBadInstallForm, TBadInstallationDlg>();
  RegisterPage<TRebootForm, TRebootDlg>();
}

} // namespace qnl
