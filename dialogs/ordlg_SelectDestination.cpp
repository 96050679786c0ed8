// The page on which the user chooses the installation's directory.
#include "dialogs/ordlg_SelectDestination.h"

#include "dialogs/AnswerFile.h"
#include "dialogs/DialogLayouts.h"
#include "dialogs/routines_FileSystem.h"
#include "engine/TCustomInstall.h"
#include "platform/files/Files.h"
#include "rtl/ScopeGuard.h"
#include "vcl/Edit.h"

namespace qnl {

QNL_BEGIN_CLASS(TSelectDestinationForm)
    .Method("edDestDirChange", &C::EdDestDirChange)
    .Method("BrowseBtnClick", &C::BrowseBtnClick);
QNL_END_CLASS

TSelectDestinationForm::TSelectDestinationForm(TComponent* AOwner) : TBasePageForm(AOwner, dmBeforeInstall, 45) {
  SetContainer(TCustomInstall::Current());
  LoadLayout(DialogLayout("TSelectDestinationForm"));
}

std::string TSelectDestinationForm::Destination() const { return Container() ? Container()->GetDestDir() : ""; }

void TSelectDestinationForm::PreparePage() {
  TFilling filling(*this);
  TBasePageForm::PreparePage();
  std::string destination = Destination();
  Control("gbDirectory").SetVisible(!destination.empty());
  dynamic_cast<TEdit&>(Control("edDestDir")).SetText(destination);
  FocusButton("ProceedBtn");
}

void TSelectDestinationForm::TakeAnswers(const TAnswerFile& Answers) {
  if (std::optional<std::string> dir = Answers.Take("Select Destination", "Directory"))
    dynamic_cast<TEdit&>(Control("edDestDir")).SetText(RemoveBackSlash(*dir));
}

void TSelectDestinationForm::ReportAnswers(const TAnswerSink& Sink) {
  Sink({"Select Destination", "Directory", Destination()});
}

void TSelectDestinationForm::SetLiteralDestination(const std::string& Dir) {
  Container()->SetDestDirType(nullptr);
  Container()->SetDestDir(Dir);
}

void TSelectDestinationForm::EdDestDirChange(TObject*) {
  if (Filling() || !Container()) return;
  SetLiteralDestination(dynamic_cast<TEdit&>(Control("edDestDir")).Text());
}

void TSelectDestinationForm::BrowseBtnClick(TObject*) {
  std::string dir = Destination();
  bool existed = !Trim(dir).empty() && DirectoryExists(dir);
  // The browser opens only on an existing folder: make it for the while, and take it away
  // again unless the user put something into it (its new parents stay).
  bool created = !existed && !Trim(dir).empty();
  if (created) ForceDirectories(dir);
  TScopeExit removeCreated([&] {
    if (created && DirectoryExists(dir) && ListDirectory(dir).empty()) RemoveDir(dir);
  });
  TOpenFolderDialog browser(nullptr);
  browser.SetDirectory(dir);
  if (!browser.Execute() || !Container()) return;
  SetLiteralDestination(RemoveBackSlash(browser.Directory()));
  TFilling filling(*this);
  dynamic_cast<TEdit&>(Control("edDestDir")).SetText(Container()->DestDir());
}

} // namespace qnl
