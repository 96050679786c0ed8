// The copy-progress window.
#include "dialogs/ordlg_CopyFile.h"

#include "common/BuiltinPictures.h"
#include "dialogs/BuiltinImage.h"
#include "dialogs/DialogLayouts.h"
#include "dialogs/FormParts.h"
#include "engine/InstallParameters.h"
#include "vcl/Image.h"
#include "vcl/Label.h"
#include "vcl/ProgressBar.h"

namespace qnl {

QNL_BEGIN_CLASS(TCopyFileForm).Method("CancelBtnClick", &C::CancelBtnClick);
QNL_END_CLASS

TCopyFileForm::TCopyFileForm(TComponent* AOwner) : TBaseDuringCopyForm(AOwner) {
  LoadLayout(DialogLayout("TCopyFileForm"));
}

void TCopyFileForm::LayoutLoaded() {
  FUnZipImage = &FormPart<TImage>(*this, "UnZipImage");
  FTransferBitmap = &FormPart<TImage>(*this, "TransferBitmap");
  FCopyingFile = &FormPart<TLabel>(*this, "lblCopyingFile");
  FFileBar = &FormPart<TProgressBar>(*this, "ProgressBar1");
  FTotalBar = &FormPart<TProgressBar>(*this, "ProgressBar2");
  ShowBuiltinPicture(*FUnZipImage, kPictureCopyFiles);
  ShowBuiltinPicture(*FTransferBitmap, kPictureTransfer);
}

void TCopyFileForm::ShowTransfer(bool Value) {
  if (FTransferBitmap->Visible() == Value) return;
  // Both pictures have transparent parts: the one below is hidden rather than shown through.
  FTransferBitmap->SetVisible(Value);
  FUnZipImage->SetVisible(!Value);
}

void TCopyFileForm::SetBar(TProgressBar& Bar, int32_t Percent) {
  if (Bar.Position() != Percent) Bar.SetPosition(Percent);
}

void TCopyFileForm::UpdateStatus(TFileStatusParameter* FileStatus, TDownloadStatusParameter* DownloadStatus) {
  const std::string* name = nullptr;
  if (FileStatus) {
    ShowTransfer(false);
    SetBar(*FTotalBar, FileStatus->TotalPercentDone);
    SetBar(*FFileBar, FileStatus->FilePercentDone);
    name = &FileStatus->FileName;
  } else if (DownloadStatus) {
    ShowTransfer(true);
    SetBar(*FFileBar, DownloadStatus->PercentDone);
    name = &DownloadStatus->FileName;
  } else {
    return;
  }
  if (FCopyingFile->Caption() != *name) FCopyingFile->SetCaption(*name);
  // Progress comes every few kilobytes: painting each time would slow the extraction, while
  // painting some twenty-five times a second keeps the window current and its Cancel answering.
  if (!FPacer.Due()) return;
  Repaint();
  Application().ProcessMessages();
}

} // namespace qnl
