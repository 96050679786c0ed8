// The change-disk prompt.
#include "dialogs/ordlg_ChangeDisk.h"

#include "common/BuiltinPictures.h"
#include "dialogs/BuiltinImage.h"
#include "dialogs/DialogLayouts.h"
#include "dialogs/FormParts.h"
#include "dialogs/routines_FileSystem.h"
#include "engine/InstallParameters.h"
#include "rtl/ScopeGuard.h"
#include "vcl/Edit.h"
#include "vcl/Image.h"
#include "vcl/Label.h"

namespace qnl {

QNL_BEGIN_CLASS(TChangeDiskForm)
    .Method("FormShow", &C::FormShow)
    .Method("PathEditChange", &C::PathEditChange)
    .Method("BrowseBtnClick", &C::BrowseBtnClick)
    .Method("CancelBtnClick", &C::CancelBtnClick);
QNL_END_CLASS

TChangeDiskForm::TChangeDiskForm(TComponent* AOwner) : TBaseChangeDiskForm(AOwner) {
  LoadLayout(DialogLayout("TChangeDiskForm"));
  FPathEdit = &FormPart<TEdit>(*this, "PathEdit");
  // The prompt keeps its own picture: the install's theme is for the wizard.
  ShowBuiltinPicture(FormPart<TImage>(*this, "ThemeBitmap"), kPictureChangeDisk);
}

void TChangeDiskForm::ShowPath() {
  FFilling = true;
  TScopeExit filled([this] { FFilling = false; });
  FPathEdit->SetText(DiskParameter()->Path);
}

void TChangeDiskForm::FormShow(TObject*) {
  if (TDiskParameter* disk = DiskParameter()) {
    FormPart<TLabel>(*this, "PromptDiskLabel")
        .SetCaption(Format(TranslateMessage("Please insert disk number %d"), {disk->NewDisk}));
    ShowPath();
  }
  SetActiveControl(&FormPart<TWinControl>(*this, "InstallBtn"));
}

void TChangeDiskForm::PathEditChange(TObject*) {
  if (!FFilling && DiskParameter()) DiskParameter()->Path = FPathEdit->Text();
}

void TChangeDiskForm::BrowseBtnClick(TObject*) {
  if (!DiskParameter()) return;
  TOpenFolderDialog browser(nullptr);
  browser.SetShowCreateButton(false);
  browser.SetShowPathEdit(false);
  browser.SetDirectory(DiskParameter()->Path);
  if (browser.Execute()) DiskParameter()->Path = browser.Directory();
  ShowPath();
}

} // namespace qnl
