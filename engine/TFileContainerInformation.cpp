// The upward message path of a file container: its files' reports during a pass.
#include "engine/TCustomInstallFile.h"
#include "engine/TFileContainer.h"
#include "rtl/Math.h"

namespace qnl {

namespace {
// The two entries of a status or disk report, checked in the order the messages name them.
TList* CheckedPair(const TObject* PO) {
  auto* list = dynamic_cast<TList*>(const_cast<TObject*>(PO));
  if (!list) throw IEFileContainer("DoInformationEventControl--PO is not a TList object");
  if (list->Count() < 2) throw IEFileContainer("DoInformationEventControl--Not engouh parameters for status event");
  return list;
}

bool NeedsPO(int32_t Code) {
  switch (Code) {
    case ucReplacingFileInUse:
    case ucInstallProgress:
    case ucCompressProgress:
    case ucCopyProgress:
    case ucNewDisk:
    case ucDownloadProgress:
    case ucFileSkipped:
    case ucFileKept: return true;
    default: return false;
  }
}
} // namespace

void TFileContainer::DoInformationEventControl(TObject* /*Sender*/, int32_t Code, TObject* PO) {
  if (FPassState == TPassState::pstNone) return;
  if (NeedsPO(Code) && !PO) throw IEFileContainer("%s got a nil PO parameter", {Name()});
  switch (Code) {
    case ucReplacingFileInUse: {
      auto* file = dynamic_cast<TCustomInstallFile*>(PO);
      if (!file) throw IEFileContainer("DoInformationEventControl parameter is not TInstallFile");
      DoReplacing(file);
      break;
    }
    case ucInstallProgress:
    case ucCompressProgress:
    case ucCopyProgress: ProgressStep(PO); break;
    case ucNewDisk: NewDiskStep(PO); break;
    case ucDownloadProgress: DownloadStep(PO); break;
    case ucFileSkipped:
    case ucFileKept: CompletionStep(PO); break;
    default: break; // reported and passed on only
  }
  if (Container()) Container()->DoInformationEventControl(this, Code, PO);
}

void TFileContainer::ReportStatus(TCustomInstallFile* File, TFileStatusParameter* P) {
  int64_t total = int64_t(FPassDoneSize) + P->BytesDone;
  P->TotalBytesDone = static_cast<int32_t>(total);
  P->TotalPercentDone = Percent(static_cast<double>(total), FPassTotalSize);
  DoStatus(File, P);
}

void TFileContainer::ProgressStep(TObject* PO) {
  TList* list = CheckedPair(PO);
  auto* file = dynamic_cast<TCustomInstallFile*>(list->Items(0));
  if (!file) throw IEFileContainer("DoInformationEventControl says bad first parameter");
  auto* status = dynamic_cast<TFileStatusParameter*>(list->Items(1));
  if (!status) throw IEFileContainer("DoInformationEventControl says bad second parameter");
  ReportStatus(file, status);
  if (status->Stats.Finished) FPassDoneSize = static_cast<int32_t>(int64_t(FPassDoneSize) + status->Stats.FileSize);
}

void TFileContainer::NewDiskStep(TObject* PO) {
  TList* list = CheckedPair(PO);
  auto* file = dynamic_cast<TCustomInstallFile*>(list->Items(0));
  if (!file) throw IEFileContainer("DoInformationEventControl says bad %d parameter", {1});
  auto* disk = dynamic_cast<TDiskParameter*>(list->Items(1));
  if (!disk) throw IEFileContainer("DoInformationEventControl says bad %d parameter", {2});
  DoNewDisk(file, disk);
  Notify(icNewDiskNeeded, list);
}

void TFileContainer::CompletionStep(TObject* PO) {
  auto* file = dynamic_cast<TCustomInstallFile*>(PO);
  if (!file) throw IEFileContainer("DoInformationEventControl says bad first parameter");
  TFileStatusParameter status;
  status.BytesDone = file->SourceSize();
  status.FilePercentDone = 100;
  status.FileName = file->FileName();
  ReportStatus(file, &status);
  FPassDoneSize = static_cast<int32_t>(int64_t(FPassDoneSize) + file->SourceSize());
}

void TFileContainer::DownloadStep(TObject* PO) {
  auto* status = dynamic_cast<TDownloadStatusParameter*>(PO);
  if (!status) throw IEFileContainer("The PO object passed to %s is not a TDownloadStatusParameter object", {Name()});
  if (OnDataReceived())
    OnDataReceived()(this, status->FileName, status->Bytes, status->TotalBytes, status->FileSize, nullptr);
  Notify(icDownloadProgress, status);
}

} // namespace qnl
