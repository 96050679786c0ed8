// The folder browser window: a tree of the machine's drives and folders with OK and Cancel.
#pragma once

#include <functional>
#include <string>

#include "vcl/Form.h"

namespace qnl {

class TButton;
class TLabel;
class TTreeNode;
class TTreeView;

// "My Computer" holds the machine's drives by letter; a folder's children are listed when it
// is first expanded. OK is enabled exactly while the selection is a file-system folder.
class TFolderBrowserForm : public TForm {
  QNL_CLASS(TFolderBrowserForm, TForm)
public:
  explicit TFolderBrowserForm(TComponent* AOwner);

  void SetTitle(const std::string& Value);
  // The Windows path of the selection ("C:\" for a drive); empty for an item that is not a
  // folder of the file system.
  std::string SelectedPath() const;
  // Selects the folder Path names (ignoring case) and returns true; false, leaving the
  // selection as it is, when no such folder exists.
  bool SelectFolder(const std::string& Path);

  TTreeView* Tree() const { return FTree; }
  TButton* OKButton() const { return FOK; }
  // Runs after every change of the selection, once OK follows it.
  std::function<void()> OnSelectionChanged;

private:
  void SelectionChanged();
  void FillFolder(TTreeNode* Node);
  TTreeNode* ChildNamed(TTreeNode* Node, const std::string& Name);
  TLabel* FTitle = nullptr;
  TTreeView* FTree = nullptr;
  TButton* FOK = nullptr;
  TTreeNode* FComputer = nullptr;
};

} // namespace qnl
