// The folder browser window.
#include "dialogs/TFolderBrowserForm.h"

#include "dialogs/DialogLayouts.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "rtl/FormReader.h"
#include "rtl/Streams.h"
#include "rtl/SysUtils.h"
#include "vcl/Button.h"
#include "vcl/Label.h"
#include "vcl/TreeView.h"

namespace qnl {

QNL_BEGIN_CLASS(TFolderBrowserForm);
QNL_END_CLASS

TFolderBrowserForm::TFolderBrowserForm(TComponent* AOwner) : TForm(AOwner) {
  TMemoryStream layout{std::string(DialogLayout("TFolderBrowserForm"))};
  ReadRootComponent(layout, this);
  FTitle = dynamic_cast<TLabel*>(FindComponent("lblTitle"));
  FTree = dynamic_cast<TTreeView*>(FindComponent("tvFolders"));
  FOK = dynamic_cast<TButton*>(FindComponent("btnOK"));
  if (!FTitle || !FTree || !FOK) throw Exception("The folder browser's layout lacks its title, tree or OK button");
  FTree->OnExpanding = [this](TObject*, TTreeNode* Node) { FillFolder(Node); };
  FTree->OnChange = [this](TObject*) { SelectionChanged(); };
  FComputer = FTree->Items()->AddChild("My Computer");
  std::string letters = CurrentDrives().DefinedDriveLetters();
  for (char letter : letters) {
    TTreeNode* drive = FComputer->AddChild(std::string(1, letter) + ":");
    drive->Data = std::string(1, letter) + ":\\";
    drive->SetHasChildren(true);
  }
  FComputer->SetExpanded(true);
  SelectionChanged();
}

void TFolderBrowserForm::SetTitle(const std::string& Value) { FTitle->SetCaption(Value); }

std::string TFolderBrowserForm::SelectedPath() const {
  return FTree->Selected() ? FTree->Selected()->Data : std::string();
}

void TFolderBrowserForm::SelectionChanged() {
  FOK->SetEnabled(!SelectedPath().empty());
  if (OnSelectionChanged) OnSelectionChanged();
}

void TFolderBrowserForm::FillFolder(TTreeNode* Node) {
  if (Node->Data.empty()) return;
  std::vector<TDirEntry> entries;
  try {
    entries = ListDirectory(Node->Data);
  } catch (const Exception&) {
    // A folder that cannot be read shows no children, as a locked folder does on Windows.
  }
  for (const TDirEntry& entry : entries) {
    if (!entry.Directory || entry.Name.starts_with('.')) continue; // hidden, as Wine shows them
    TTreeNode* child = Node->AddChild(entry.Name);
    child->Data = AddBackSlash(Node->Data) + entry.Name;
    child->SetHasChildren(true);
  }
  if (Node->Count() == 0) Node->SetHasChildren(false);
}

TTreeNode* TFolderBrowserForm::ChildNamed(TTreeNode* Node, const std::string& Name) {
  if (!Node->Expanded()) Node->SetExpanded(true);
  for (int i = 0; i < Node->Count(); ++i)
    if (SameText(Node->Item(i)->Text(), Name)) return Node->Item(i);
  return nullptr;
}

bool TFolderBrowserForm::SelectFolder(const std::string& Path) {
  std::string path = Trim(Path);
  if (path.size() < 2 || path[1] != ':') return false;
  path = NormalizeWindowsPath(path);
  if (path.size() > 2 && path[2] != '\\') return false; // "C:x" is relative to a drive's current folder
  // The folders opened on the way are shown once, with the selection.
  FTree->BeginUpdate();
  struct TEndUpdate {
    TTreeView* Tree;
    ~TEndUpdate() { Tree->EndUpdate(); }
  } endUpdate{FTree};
  TTreeNode* node = ChildNamed(FComputer, path.substr(0, 2));
  for (size_t at = 3; node && at < path.size();) {
    size_t end = path.find('\\', at);
    if (end == std::string::npos) end = path.size();
    node = ChildNamed(node, path.substr(at, end - at));
    at = end + 1;
  }
  if (!node) return false;
  FTree->SetSelected(node);
  return true;
}

} // namespace qnl
