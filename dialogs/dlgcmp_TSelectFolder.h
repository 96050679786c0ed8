// The dialog component of the page on which the user names the product's program folder.
#pragma once

#include "dialogs/dlgcmp_TBasePageDlg.h"

namespace qnl {

class TCustomShellLinkGroup;

// Its Container is the shortcut folder the page names, at first the project's main folder.
// Without a manager it runs by itself on the notification -991, which a shortcut folder sends
// just before it creates its shortcuts.
class TSelectFolderDlg : public TBasePageDlg {
  QNL_CLASS(TSelectFolderDlg, TBasePageDlg)
public:
  explicit TSelectFolderDlg(TComponent* AOwner);
  // IException "The container for <name> must be a TCustomShellLinkGroup" when it holds an
  // install object of another kind.
  TCustomShellLinkGroup* Container() const;
  // Exception without a Container, before anything is shown.
  bool ShowDialog() override;
  void AssignDialogProperties() override;

protected:
  bool PrepareOnAssign() const override { return true; }
};

} // namespace qnl
