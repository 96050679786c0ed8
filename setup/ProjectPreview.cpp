// Looking at a project's windows without installing.
#include "setup/ProjectPreview.h"

#include <memory>
#include <vector>

#include "dialogs/TBaseDuringCopyForm.h"
#include "dialogs/TBaseInstallForm.h"
#include "dialogs/TCustomBaseInstallDlg.h"
#include "dialogs/TDialogManager.h"
#include "dialogs/dlgcmp_TBaseContainer.h"
#include "dialogs/dlgcmp_TChangeDiskDlg.h"
#include "dialogs/dlgcmp_TCopyFile.h"
#include "dialogs/dlgcmp_TInstallStatusDlg.h"
#include "dialogs/ordlg_InstallStatus.h"
#include "engine/InstallParameters.h"
#include "engine/InstallSession.h"
#include "platform/system/CodePage.h"
#include "rtl/FormReader.h"
#include "rtl/ProgramArguments.h"
#include "rtl/ScopeGuard.h"
#include "rtl/SysUtils.h"
#include "translate/TTranslator.h"
#include "vcl/AnsiText.h"
#include "vcl/Application.h"
#include "vcl/FormPicture.h"

namespace qnl {

namespace {

// The samples the windows that show the installation's work are drawn with.
constexpr const char* kSampleStatusMessage = "Reading file information...";
constexpr const char* kSampleCopiedFile = "readme.txt";
constexpr int32_t kSampleDisk = 2;
constexpr const char* kSampleDiskPath = "A:\\";

std::string Listed(const std::vector<std::string>& Names) {
  std::string text;
  for (const std::string& name : Names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

// The languages the project's translator has lines for.
std::vector<TQnlfLanguage> OfferedLanguages(const TTranslator& Translator) {
  std::vector<TQnlfLanguage> offered;
  for (int i = 0; i < Translator.LanguageCount(); ++i) {
    const TLanguage& language = *Translator.Languages(i);
    if (language.StringEntryCount() + language.MemoEntryCount() > 0) offered.push_back(language.LanguageIdent());
  }
  return offered;
}

// A language's name as a person writes it: "German" for qlGerman.
std::string LanguageName(TQnlfLanguage Language) { return EnumInfo<TQnlfLanguage>().NameOf(Language).substr(2); }

// Language named Name ("German", "qlGerman", "lgGerman", any case) among those offered.
TQnlfLanguage OfferedLanguage(const std::string& Name) {
  TTranslator* translator = ActiveTranslator();
  std::vector<TQnlfLanguage> offered = translator ? OfferedLanguages(*translator) : std::vector<TQnlfLanguage>{};
  std::vector<std::string> names;
  for (TQnlfLanguage language : offered) {
    names.push_back(LanguageName(language));
    for (const char* prefix : {"", "ql", "lg"})
      if (SameText(Name, prefix + names.back())) return language;
  }
  if (names.empty()) throw Exception("The project offers no language to translate into (it has no translator lines)");
  throw Exception("The project offers no language \"" + Name + "\"; it offers " + Listed(names));
}

// One look at a loaded project: the windows it made live until it ends.
class TPreview {
public:
  explicit TPreview(TComponent& Project) : FProject(Project) {}
  ~TPreview() { SetCurrentDialogManager(nullptr); }

  void TranslateInto(TQnlfLanguage Language) {
    ActiveTranslator()->SetTranslateIntoLanguage(Language);
    // A dialog with a language of its own is shown in the asked one too.
    for (TCustomBaseInstallDlg* dialog : Dialogs())
      if (dialog->OverrideMainTranslator()) dialog->SetTranslateIntoLanguage(Language);
  }

  TForm& MainWindow(const std::string& Name) {
    auto* form = dynamic_cast<TForm*>(&FProject);
    if (!form) throw Exception("The main form of the project is not a window");
    if (!Name.empty() && !SameText(Name, FProject.Name()))
      throw Exception("The project has no form \"" + Name + "\"; its only form is its main window, " + FProject.Name() +
                      " (the dialogs are shown with --page)");
    return Shown(*form);
  }

  TForm& DialogWindow(const std::string& Name) {
    TCustomBaseInstallDlg& dialog = Dialog(Name);
    if (auto* copy = dynamic_cast<TCopyFileDlg*>(&dialog)) return CopyWindow(*copy);
    if (auto* status = dynamic_cast<TInstallStatusDlg*>(&dialog)) return StatusWindow(*status);
    if (auto* disk = dynamic_cast<TChangeDiskDlg*>(&dialog)) return DiskWindow(*disk);
    if (!dialog.DialogManager()) return OwnWindow(dialog);
    return WizardPage(dialog);
  }

private:
  std::vector<TCustomBaseInstallDlg*> Dialogs() const {
    std::vector<TCustomBaseInstallDlg*> dialogs;
    for (int i = 0; i < FProject.ComponentCount(); ++i)
      if (auto* dialog = dynamic_cast<TCustomBaseInstallDlg*>(FProject.Components(i))) dialogs.push_back(dialog);
    return dialogs;
  }

  TCustomBaseInstallDlg& Dialog(const std::string& Name) {
    std::vector<std::string> names;
    for (TCustomBaseInstallDlg* dialog : Dialogs()) {
      if (SameText(dialog->Name(), Name)) return *dialog;
      names.push_back(dialog->Name() + " (" + dialog->ClassName() + ")");
    }
    throw Exception("The project has no dialog component \"" + Name + "\"; " +
                    (names.empty() ? std::string("it has none") : "its dialog components are " + Listed(names)));
  }

  // A manager the dialog needs for its window; the message says what happens without one.
  static TDialogManager& ManagerOf(TCustomBaseInstallDlg& Dialog, const std::string& Without) {
    if (!Dialog.DialogManager()) throw Exception(Dialog.Name() + " has no dialog manager: " + Without);
    SetCurrentDialogManager(Dialog.DialogManager());
    return *Dialog.DialogManager();
  }

  template <class T>
  static T& Shown(T& Form) {
    Form.Show();
    Application().ProcessMessages();
    return Form;
  }

  TForm& WizardPage(TCustomBaseInstallDlg& Dialog) {
    SetCurrentDialogManager(Dialog.DialogManager());
    FWizard = Dialog.DialogManager()->CreateWizard();
    for (int i = 0; i < FWizard->PageCount(); ++i) {
      TBaseInstallForm* page = FWizard->Pages(i);
      if (page->DC() != &Dialog) continue;
      if (page->SkipPage())
        throw Exception("The wizard passes over the page of " + Dialog.Name() + " in this project; it is never shown");
      Shown(*FWizard).ShowPage(i, false);
      return *FWizard;
    }
    throw Exception(Dialog.Name() + " does not take part in the wizard of its manager in this project");
  }

  // A page without manager runs by itself in its own window.
  TForm& OwnWindow(TCustomBaseInstallDlg& Dialog) {
    FOwnForm = Dialog.CreateOwnForm();
    auto* form = dynamic_cast<TForm*>(FOwnForm.get());
    if (!form) throw Exception("The form of " + Dialog.Name() + " is not a window");
    return Shown(*form);
  }

  TForm& CopyWindow(TCopyFileDlg& Dialog) {
    ManagerOf(Dialog, "no progress window is shown for it").CreateCopyForms();
    auto* form = dynamic_cast<TBaseDuringCopyForm*>(Dialog.CurrentForm());
    if (!form) throw Exception("The manager of " + Dialog.Name() + " shows no progress window for it");
    TFileStatusParameter progress;
    progress.FileName = kSampleCopiedFile;
    progress.FilePercentDone = 60;
    progress.TotalPercentDone = 25;
    form->UpdateStatus(&progress, nullptr);
    return Shown(*form);
  }

  TForm& StatusWindow(TInstallStatusDlg& Dialog) {
    TMessageParameter message;
    message.Text = kSampleStatusMessage;
    Dialog.InformationEvent(&FProject, icPushStatusMessage, &message);
    return Shown(*Dialog.StatusForm());
  }

  TForm& DiskWindow(TChangeDiskDlg& Dialog) {
    FDiskForm = ManagerOf(Dialog, "a message box asks for the next disk instead").CreateChangeDiskForm();
    if (!FDiskForm) throw Exception("The manager of " + Dialog.Name() + " is not the one that asks for disks");
    FDisk.NewDisk = kSampleDisk;
    FDisk.Path = kSampleDiskPath;
    FDiskForm->SetDiskParameter(&FDisk);
    FDiskForm->PreparePage();
    FDiskForm->ApplyLanguage();
    return Shown(*FDiskForm);
  }

  TComponent& FProject;
  std::unique_ptr<TBaseFormContainer> FWizard;
  std::unique_ptr<TCustomForm> FOwnForm;
  std::unique_ptr<TBaseChangeDiskForm> FDiskForm;
  TDiskParameter FDisk;
};

} // namespace

std::string PreviewProject(const TPreviewRequest& Request, const TMainFormFactory& CreateMainForm) {
  // The project sees a program started without switches: no build, no continuation.
  SetProgramArguments(std::vector<std::string>{});
  char program[] = "quenloft";
  char* argv[] = {program, nullptr};
  TApplication app(1, argv);
  TScopeExit components([&app] { app.DestroyComponents(); });
  SetAnsiCodePage(MachineCodePage());
  RegisterSetupClasses();
  InstallSession().LookOnly = true;

  TCustomForm* form = CreateMainForm(&app);
  TMemoryStream stream{std::string(Request.Project)};
  ReadRootComponent(stream, form, MachineAnsiCodePage());
  app.SetMainForm(form);

  TPreview preview(*form);
  if (!Request.Language.empty()) preview.TranslateInto(OfferedLanguage(Request.Language));
  TForm& window =
      Request.DialogName.empty() ? preview.MainWindow(Request.FormName) : preview.DialogWindow(Request.DialogName);
  return FormPicturePng(window);
}

} // namespace qnl
