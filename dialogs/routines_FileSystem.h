// The folder browser: a tree of the machine's drives and folders, with an optional button that
// creates a folder and an optional edit in which a path can be typed.
#pragma once

#include <string>

#include "rtl/Classes.h"

namespace qnl {

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

private:
  std::string FDirectory;
  bool FShowCreateButton = true;
  bool FShowPathEdit = true;
};

// Path when it names an existing directory, else the same question for Path cut before its
// last backslash; empty when Path (trimmed) is empty or no backslash is left.
std::string NearestExistingDirectory(const std::string& Path);
// The string resource Number of the machine's library (a file name of the system folder);
// empty when the library or the string is missing.
std::string LoadLibraryString(const std::string& Library, int Number);

} // namespace qnl
