// The folder browser.
#include "dialogs/routines_FileSystem.h"

#include "archive/PEResources.h"
#include "dialogs/InputQuery.h"
#include "dialogs/TFolderBrowserForm.h"
#include "platform/files/FileStream.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "platform/system/SystemInfo.h"
#include "rtl/SysUtils.h"
#include "vcl/Application.h"
#include "vcl/TreeView.h"

namespace qnl {

QNL_BEGIN_CLASS(TOFDCreateButton);
QNL_END_CLASS
QNL_BEGIN_CLASS(TOFDPathEdit);
QNL_END_CLASS
QNL_BEGIN_CLASS(TOpenFolderDialog);
QNL_END_CLASS

namespace {

// A string resource is read into a buffer of this many characters, its terminator included.
constexpr size_t kStringBuffer = 4096;

struct TRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

TRect RectOf(const TControl* Control) {
  return {Control->Left(), Control->Top(), Control->Left() + Control->Width(), Control->Top() + Control->Height()};
}

bool IsDirectory(const std::string& Path) {
  try {
    // "C:" names the drive, as Windows answers for its current folder there.
    return DirectoryExists(Path.size() == 2 && Path[1] == ':' ? Path + "\\" : Path);
  } catch (const Exception&) {
    return false; // an unknown drive or a path the machine cannot name
  }
}

// A directory chosen or typed, in the form every path of the system has: backslashes, no
// "." or "..", no trailing backslash except at a drive's root. Only a full path with a drive
// letter is created: a relative one would land in whatever the process's current folder is.
std::string FolderToCreate(const std::string& Path) {
  std::string path = Trim(Path);
  if (path.empty()) throw EInOutError("Unable to create directory");
  path = NormalizeWindowsPath(path);
  if (path.size() < 3 || path[1] != ':' || path[2] != '\\')
    throw EInOutError(Format("Unable to create directory \"%s\": it is not a full path with a drive letter", {Path}));
  return path.size() > 3 ? RemoveBackSlash(path) : path;
}

std::string TextOr(const std::string& Text, const char* Default) { return Text.empty() ? Default : Text; }

// The title with its placeholder filled by an empty string; a text that is no format is
// shown as it is.
std::string BrowseTitleText(const std::string& Title) {
  try {
    return Format(Title, {""});
  } catch (const Exception&) {
    return Title;
  }
}

} // namespace

TOFDCreateButton::TOFDCreateButton(TComponent* AOwner, TOpenFolderDialog* Dialog) : TButton(AOwner), FDialog(Dialog) {}

void TOFDCreateButton::Click() {
  TButton::Click();
  FDialog->CreateFolder();
}

TOFDPathEdit::TOFDPathEdit(TComponent* AOwner, TOpenFolderDialog* Dialog) : TEdit(AOwner), FDialog(Dialog) {
  OnKeyUp = [this](TObject*, uint16_t&, TShiftState) { FDialog->EditFollow(); };
}

TOFDResourceStrings TOFDResourceStrings::Load() {
  TOFDResourceStrings strings;
  strings.CreateFolderCaption = TextOr(LoadLibraryString("comdlg32.dll", 703), "&Make New Folder");
  strings.NewFolderPrompt = TextOr(LoadLibraryString("shell32.dll", 8977), "Name of the new folder:");
  strings.BrowseTitle = TextOr(LoadLibraryString("shell32.dll", 9248), "Choose a folder:%s");
  return strings;
}

TOpenFolderDialog::TOpenFolderDialog(TComponent* AOwner) : TComponent(AOwner) {}

TOpenFolderDialog::~TOpenFolderDialog() = default;

bool TOpenFolderDialog::Execute() {
  FStrings = TOFDResourceStrings::Load();
  for (;;) {
    bool chosen = ExecuteOnce();
    if (!FRestart) return chosen;
    FDirectory = FCurrentPath; // opens again on the folder just created
  }
}

bool TOpenFolderDialog::ExecuteOnce() {
  FRestart = false;
  FCurrentPath.clear();
  TFolderBrowserForm browser(&Application());
  FBrowser = &browser;
  struct TForget {
    TOpenFolderDialog* Dialog;
    ~TForget() {
      Dialog->FBrowser = nullptr;
      Dialog->FOKButton = Dialog->FCancelButton = nullptr;
      Dialog->FTree = nullptr;
      Dialog->FCreateButton = nullptr;
      Dialog->FPathEdit = nullptr;
    }
  } forget{this};
  browser.SetTitle(BrowseTitleText(FStrings.BrowseTitle));
  browser.OnSelectionChanged = [this] { SelectionChanged(); };
  Initialized();
  if (browser.ShowModal() != mrOk) return false;
  if (FShowPathEdit) {
    // What is typed need not exist yet: OK makes it.
    FCurrentPath = FolderToCreate(FCurrentPath);
    ForceDirectories(FCurrentPath);
    FDirectory = FCurrentPath;
  } else {
    FDirectory = browser.SelectedPath();
  }
  return true;
}

void TOpenFolderDialog::Initialized() {
  for (TControl* control : FBrowser->Controls()) {
    if (auto* tree = dynamic_cast<TTreeView*>(control); tree && !FTree) FTree = tree;
    if (auto* button = dynamic_cast<TButton*>(control)) {
      if (!FOKButton)
        FOKButton = button;
      else if (!FCancelButton)
        FCancelButton = button;
    }
  }
  if (FShowCreateButton) {
    TRect rect{20, 230, 140, 253};
    if (FOKButton && FCancelButton) {
      TRect ok = RectOf(FOKButton);
      int32_t step = FCancelButton->Left() - ok.Left;
      rect = {ok.Left - step, ok.Top - 22, ok.Right - step, ok.Bottom - 22};
    }
    int32_t left = FTree ? FTree->Left() : rect.Left;
    FCreateButton = new TOFDCreateButton(FBrowser, this);
    FCreateButton->SetName("btnCreateFolder");
    FCreateButton->SetParent(FBrowser);
    FCreateButton->SetBounds(left, rect.Top, rect.Right - left, rect.Bottom - rect.Top);
    FCreateButton->SetCaption(FStrings.CreateFolderCaption);
    FCreateButton->SetVisible(!FOKButton || FOKButton->Enabled());
  }
  if (FShowPathEdit) {
    TRect rect{20, 230, 140, 253};
    if (FTree) {
      FTree->SetBounds(FTree->Left(), FTree->Top(), FTree->Width(), FTree->Height() - 60);
      if (FOKButton) {
        TRect tree = RectOf(FTree);
        rect = {tree.Left, tree.Bottom + 15, tree.Right, tree.Bottom + 28};
      }
    }
    FPathEdit = new TOFDPathEdit(FBrowser, this);
    FPathEdit->SetName("edtPath");
    FPathEdit->SetParent(FBrowser);
    FPathEdit->SetBounds(rect.Left, rect.Top, rect.Right - rect.Left, FPathEdit->Height());
  }
  if (FTree) FTree->SetHideSelection(false);
  SelectPath(FDirectory);
}

void TOpenFolderDialog::SelectPath(const std::string& Path) {
  if (!FBrowser) return;
  FSelecting = true;
  std::string path = NearestExistingDirectory(Path);
  path = path.size() > 3 ? RemoveBackSlash(path) : AddBackSlash(path);
  if (!path.empty()) FBrowser->SelectFolder(path);
  FSelecting = false;
}

void TOpenFolderDialog::SelectionChanged() {
  FCurrentPath = FBrowser->SelectedPath();
  if (FPathEdit && !FEditUpdate) FPathEdit->SetText(FCurrentPath);
  if (FOKButton && FCreateButton) FCreateButton->SetVisible(FOKButton->Enabled());
}

void TOpenFolderDialog::EditFollow() {
  if (FSelecting || !FBrowser) return;
  FEditUpdate = true;
  FBrowser->SelectFolder(FPathEdit->Text());
  FCurrentPath = FPathEdit->Text();
  FEditUpdate = false;
}

void TOpenFolderDialog::CreateFolder() {
  if (!FPathEdit || IsDirectory(FPathEdit->Text())) {
    std::string name;
    if (!InputQuery(FStrings.CreateFolderCaption, FStrings.NewFolderPrompt, name)) return;
    FCurrentPath = AddBackSlash(FCurrentPath) + name;
  }
  FCurrentPath = FolderToCreate(FCurrentPath);
  ForceDirectories(FCurrentPath);
  FRestart = true;
  if (FOKButton) FOKButton->Click();
}

std::string NearestExistingDirectory(const std::string& Path) {
  std::string path = Trim(Path);
  while (!path.empty()) {
    if (IsDirectory(path)) return path;
    size_t slash = path.rfind('\\');
    if (slash == std::string::npos) return {};
    path.erase(slash);
  }
  return {};
}

std::string LoadLibraryString(const std::string& Library, int Number) {
  if (Number < 0 || Number > 0xFFFF) return {};
  std::string file = Library.find(':') == std::string::npos ? AddBackSlash(SystemDirectory()) + Library : Library;
  try {
    if (!FileExists(file)) return {};
    TFileStream stream(file, fmOpenRead | fmShareDenyNone);
    std::string text = ReadPEString(stream, static_cast<uint32_t>(Number)).value_or(std::string());
    if (text.size() >= kStringBuffer) text.resize(kStringBuffer - 1);
    return text;
  } catch (const Exception&) {
    return {}; // a library that cannot be read has no strings
  }
}

} // namespace qnl
