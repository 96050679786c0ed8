// The folder browser: a tree of the machine's drives and folders, with an optional button that
// creates a folder and an optional edit in which a path can be typed.
#pragma once

#include <string>

#include "rtl/Classes.h"
#include "vcl/Button.h"
#include "vcl/Edit.h"

namespace qnl {

class TFolderBrowserForm;
class TOpenFolderDialog;
class TTreeView;

// The button the dialog adds to the browser: a click creates a folder.
class TOFDCreateButton : public TButton {
  QNL_CLASS(TOFDCreateButton, TButton)
public:
  TOFDCreateButton(TComponent* AOwner, TOpenFolderDialog* Dialog);
  void Click() override;

private:
  TOpenFolderDialog* FDialog;
};

// The edit the dialog adds to the browser: the selection follows what is typed.
class TOFDPathEdit : public TEdit {
  QNL_CLASS(TOFDPathEdit, TEdit)
public:
  TOFDPathEdit(TComponent* AOwner, TOpenFolderDialog* Dialog);

private:
  TOpenFolderDialog* FDialog;
};

// The browser's texts, from the machine's system libraries when they carry them, else ours.
struct TOFDResourceStrings {
  std::string CreateFolderCaption; // the create button and the folder-name question
  std::string NewFolderPrompt;     // the folder-name question's prompt
  std::string BrowseTitle;         // above the tree
  static TOFDResourceStrings Load();
};

// Picks a directory in the folder browser. With the path edit, OK returns what is typed and
// creates it; a created folder closes the browser and opens it again with that folder
// selected.
class TOpenFolderDialog : public TComponent {
  QNL_CLASS(TOpenFolderDialog, TComponent)
public:
  explicit TOpenFolderDialog(TComponent* AOwner);
  ~TOpenFolderDialog() override;

  // In: the directory selected when the browser opens; out: the one chosen.
  const std::string& Directory() const { return FDirectory; }
  void SetDirectory(const std::string& Value) { FDirectory = Value; }
  bool ShowCreateButton() const { return FShowCreateButton; }
  void SetShowCreateButton(bool Value) { FShowCreateButton = Value; }
  bool ShowPathEdit() const { return FShowPathEdit; }
  void SetShowPathEdit(bool Value) { FShowPathEdit = Value; }

  // True when the user chose a directory (then in Directory).
  bool Execute();
  // Selects the nearest existing folder of Path (a drive letter selects the drive's root);
  // only while the browser is open.
  void SelectPath(const std::string& Path);
  // The open browser (nullptr when none).
  TFolderBrowserForm* Browser() const { return FBrowser; }
  TOFDCreateButton* CreateButton() const { return FCreateButton; }
  TOFDPathEdit* PathEdit() const { return FPathEdit; }

private:
  friend class TOFDCreateButton;
  friend class TOFDPathEdit;
  bool ExecuteOnce();
  void Initialized();
  void SelectionChanged();
  void EditFollow();
  void CreateFolder();

  std::string FDirectory;
  bool FShowCreateButton = true;
  bool FShowPathEdit = true;
  // The run state of one opening of the browser.
  std::string FCurrentPath;
  bool FRestart = false;
  bool FSelecting = false;
  bool FEditUpdate = false;
  TFolderBrowserForm* FBrowser = nullptr;
  TButton* FOKButton = nullptr;
  TButton* FCancelButton = nullptr;
  TTreeView* FTree = nullptr;
  TOFDCreateButton* FCreateButton = nullptr;
  TOFDPathEdit* FPathEdit = nullptr;
  TOFDResourceStrings FStrings;
};

// Path when it names an existing directory, else the same question for Path cut before its
// last backslash; empty when Path (trimmed) is empty or no backslash is left.
std::string NearestExistingDirectory(const std::string& Path);
// The string resource Number of the machine's library (a file name of the system folder);
// empty when the library or the string is missing.
std::string LoadLibraryString(const std::string& Library, int Number);

} // namespace qnl
