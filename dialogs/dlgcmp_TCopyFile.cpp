// The copy-progress dialog.
#include "dialogs/dlgcmp_TCopyFile.h"

#include "dialogs/TDialogManager.h"
#include "dialogs/ordlg_CopyFile.h"

namespace qnl {

QNL_BEGIN_CLASS(TCopyFileDlg)
    .Ref<TDialogManager>("DialogManager", &C::DialogManager, &C::SetDialogManager)
    .Prop("Height", &C::Height, &C::SetHeight)
    .Prop("Position", &C::Position, &C::SetPosition)
    .Prop("RelativeLeftOffset", &C::RelativeLeftOffset, &C::SetRelativeLeftOffset)
    .Prop("RelativeTopOffset", &C::RelativeTopOffset, &C::SetRelativeTopOffset)
    .Prop("Width", &C::Width, &C::SetWidth);
QNL_END_CLASS

TCopyFileDlg::TCopyFileDlg(TComponent* AOwner)
    : TDuringInstallDlg(AOwner, dmDuringCopyFiles, &CopyRegistry(), &TCopyFileForm::StaticClassInfo()) {
  // Its window sits centred above the bottom of the screen.
  SetWidth(474);
  SetHeight(146);
  SetPosition(qdpBottomCenter);
  SetRelativeTopOffset(30);
}

} // namespace qnl
