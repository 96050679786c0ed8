// The page on which the user names the product's folder in the Programs menu.
#include "dialogs/ordlg_SelectFolder.h"

#include "dialogs/AnswerFile.h"
#include "dialogs/DialogLayouts.h"
#include "dialogs/FormParts.h"
#include "links/ProgramFolders.h"
#include "links/ShellLinkRegistries.h"
#include "links/TCustomShellLinkGroup.h"
#include "paths/StandardPathSpecifiers.h"
#include "paths/TPathSpecifierList.h"
#include "vcl/Edit.h"
#include "vcl/ListBox.h"

namespace qnl {

QNL_BEGIN_CLASS(TSelectFolderForm)
    .Method("FolderEditChange", &C::FolderEditChange)
    .Method("FolderListBoxClick", &C::FolderListBoxClick)
    .Method("FormResize", &C::FormResize);
QNL_END_CLASS

TSelectFolderForm::TSelectFolderForm(TComponent* AOwner) : TBasePageForm(AOwner, dmBeforeInstall, 60) {
  SetContainer(MainLinkGroup());
  LoadLayout(DialogLayout("TSelectFolderForm"));
}

TCustomShellLinkGroup* TSelectFolderForm::LinkGroup() const {
  return dynamic_cast<TCustomShellLinkGroup*>(Container());
}

void TSelectFolderForm::PreparePage() {
  TBasePageForm::PreparePage();
  auto& list = FormPart<TListBox>(*this, "FolderListBox");
  {
    TFilling filling(*this);
    list.Items()->Clear();
    GetExistingProgramFolders(*list.Items());
  }
  std::string folder;
  if (TCustomShellLinkGroup* group = LinkGroup(); group && dynamic_cast<TpsProgramMenu*>(group->DestDirType()))
    folder = ExtractFileName(RemoveBackSlash(group->DestDir()));
  if (folder.empty() && list.Items()->Count() > 0) folder = list.Items()->Get(0);
  FormPart<TEdit>(*this, "FolderEdit").SetText(folder);
  FocusButton("ProceedBtn");
}

void TSelectFolderForm::TakeAnswers(const TAnswerFile& Answers) {
  if (std::optional<std::string> folder = Answers.Take("Select Folder", "Folder"))
    FormPart<TEdit>(*this, "FolderEdit").SetText(*folder);
}

void TSelectFolderForm::ReportAnswers(const TAnswerSink& Sink) {
  Sink({"Select Folder", "Folder", FormPart<TEdit>(*this, "FolderEdit").Text()});
}

void TSelectFolderForm::FolderEditChange(TObject*) {
  TCustomShellLinkGroup* group = LinkGroup();
  if (Filling() || !group) return;
  group->SetDestDirType(StandardPathSpecifiers().FindInstance(TpsProgramMenu::StaticClassInfo()));
  group->SetDestDir("\\" + FormPart<TEdit>(*this, "FolderEdit").Text());
}

void TSelectFolderForm::FolderListBoxClick(TObject*) {
  auto& list = FormPart<TListBox>(*this, "FolderListBox");
  if (Filling() || list.ItemIndex() < 0) return;
  FormPart<TEdit>(*this, "FolderEdit").SetText(list.Items()->Get(list.ItemIndex()));
}

void TSelectFolderForm::FormResize(TObject*) {
  for (auto [name, height] : {std::pair{"Label1", 18}, {"Label3", 8}, {"Label4", 8}})
    if (auto* spacer = dynamic_cast<TControl*>(FindComponent(name))) spacer->SetHeight(height);
}

} // namespace qnl
