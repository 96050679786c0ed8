// The copy-progress window: the file being processed, its progress and the total.
#pragma once

#include <string>

#include "dialogs/MessagePacing.h"
#include "dialogs/TBaseDuringCopyForm.h"

namespace qnl {

class TImage;
class TLabel;
class TProgressBar;

class TCopyFileForm : public TBaseDuringCopyForm {
  QNL_CLASS(TCopyFileForm, TBaseDuringCopyForm)
public:
  explicit TCopyFileForm(TComponent* AOwner);

  // A file's progress shows the copy picture and both bars; a download's shows the transfer
  // picture and the file bar, the total keeps its value.
  void UpdateStatus(TFileStatusParameter* FileStatus, TDownloadStatusParameter* DownloadStatus) override;
  void CancelBtnClick(TObject* Sender) { ConfirmCancel(); }

protected:
  void LayoutLoaded() override;

private:
  void ShowTransfer(bool Value);
  static void SetBar(TProgressBar& Bar, int32_t Percent);
  TImage* FUnZipImage = nullptr;
  TImage* FTransferBitmap = nullptr;
  TLabel* FCopyingFile = nullptr;
  TProgressBar* FFileBar = nullptr;
  TProgressBar* FTotalBar = nullptr;
  TPaintPacer FPacer;
};

} // namespace qnl
