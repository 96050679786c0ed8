// The prompt for the next disk of a multi-disk archive, or another place holding its files.
#pragma once

#include "dialogs/TBaseDuringCopyForm.h"

namespace qnl {

class TEdit;

class TChangeDiskForm : public TBaseChangeDiskForm {
  QNL_CLASS(TChangeDiskForm, TBaseChangeDiskForm)
public:
  explicit TChangeDiskForm(TComponent* AOwner);

  // The disk number in the prompt and the expected path in the edit.
  void FormShow(TObject* Sender);
  // The edited path becomes the place to look.
  void PathEditChange(TObject* Sender);
  // The folder browser, without its create button and path edit, chooses the place.
  void BrowseBtnClick(TObject* Sender);
  void CancelBtnClick(TObject* Sender) { ConfirmCancel(); }

private:
  void ShowPath();
  TEdit* FPathEdit = nullptr;
  // Set while code fills the edit, so that its change is not written back.
  bool FFilling = false;
};

} // namespace qnl
