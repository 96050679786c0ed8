// The file-related component: archive path, net location and download progress.
#include "engine/TFileRelated.h"

#include "common/routines_Strings.h"
#include "engine/ContainerPathSpecifiers.h"
#include "engine/InstallParameters.h"
#include "paths/TPathSpecifierList.h"
#include "rtl/Math.h"

namespace qnl {

QNL_BEGIN_CLASS(TFileRelated);
QNL_END_CLASS

TFileRelated::TFileRelated(TComponent* AOwner) : TInstallObject(AOwner) { SetProcessWithContainer(true); }

void TFileRelated::SetContainer(TInstallContainer* Value) {
  inherited::SetContainer(Value);
  if (IsLoading()) return;
  const TClassInfo& archiveType = TpsContainerArchiveFile::StaticClassInfo();
  if (dynamic_cast<TFileRelated*>(Container())) {
    SetArchiveFileType(StandardPathSpecifiers().FindInstance(archiveType));
    SetArchiveFile("");
  } else if (FArchiveFileType && FArchiveFileType->InheritsFrom(archiveType)) {
    SetArchiveFileType(nullptr);
  }
}

void TFileRelated::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FArchiveFileType) FArchiveFileType = nullptr;
  if (AComponent == FNetLocation) FNetLocation = nullptr;
}

void TFileRelated::DataReceived(TObject* /*Sender*/, const std::string& FileName, int32_t Bytes, int32_t TotalBytes,
                                int32_t FileSize, const void* Buffer) {
  TDownloadStatusParameter status;
  status.Bytes = Bytes;
  status.FileName = FileName;
  status.FileSize = FileSize;
  status.TotalBytes = TotalBytes;
  status.PercentDone = Percent(TotalBytes, FileSize);
  if (FOnDataReceived) FOnDataReceived(this, FileName, Bytes, TotalBytes, FileSize, Buffer);
  Notify(icDownloadProgress, &status);
  if (Container()) Container()->DoInformationEventControl(this, ucDownloadProgress, &status);
}

void TFileRelated::SetArchiveFile(const std::string& Value) { FArchiveFile = Value; }

void TFileRelated::SetArchiveFileType(TCustomPathSpecifier* Value) {
  if (!IsLoading() && Value) Value->Validate(this);
  FArchiveFileType = Value;
  if (Value) FreeNotification(Value);
}

void TFileRelated::SetNet(bool Value) { FNet = Value; }

void TFileRelated::SetNetLocation(TComponent* Value) {
  FNetLocation = Value;
  if (Value) FreeNotification(Value);
}

std::string TFileRelated::GetArchivePath() {
  std::string path = FArchiveFileType ? FArchiveFileType->GetPath(this) + FArchiveFile : FArchiveFile;
  return RemoveBackSlash(path);
}

} // namespace qnl
