// The page on which the user names the product's folder in the Programs menu.
#pragma once

#include "dialogs/ordlg_BasePage.h"

namespace qnl {

class TCustomShellLinkGroup;

// Works on its Container, a shortcut folder (normally the main one): the name the user types
// or picks becomes the folder's place in the Programs menu at once. Without a folder the
// wizard passes over the page.
class TSelectFolderForm : public TBasePageForm {
  QNL_CLASS(TSelectFolderForm, TBasePageForm)
public:
  explicit TSelectFolderForm(TComponent* AOwner);
  bool SkipPage() override { return !LinkGroup(); }
  // Lists the existing program folders and shows the folder's name, or the first folder
  // listed when it has none there; that, like an edit of the user's, moves the folder.
  void PreparePage() override;
  void TakeAnswers(const TAnswerFile& Answers) override;
  void ReportAnswers(const TAnswerSink& Sink) override;
  void FolderEditChange(TObject* Sender);
  void FolderListBoxClick(TObject* Sender);
  // The spacers go back to their heights (a translation may have changed them).
  void FormResize(TObject* Sender);

private:
  // The container when it is a shortcut folder; the page writes into nothing else.
  TCustomShellLinkGroup* LinkGroup() const;
};

} // namespace qnl
