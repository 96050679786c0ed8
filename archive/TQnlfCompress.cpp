// The archive component's properties, opening of archives and disk files, and listing.
#include "archive/TQnlfCompress.h"
#include "archive/TDeflatePipeline.h"
#include "archive/TInflateAhead.h"

#include "archive/EQnlfCompress.h"
#include "common/routines_Strings.h"
#include "rtl/SysUtils.h"

namespace qnl {

QNL_BEGIN_CLASS(TQnlfCompress)
    .Prop("Abort", &C::Abort, &C::SetAbort)
    .Prop("CompressedFile", &C::CompressedFile, &C::SetCompressedFile)
    .Prop("CompressionLevel", &C::CompressionLevel, &C::SetCompressionLevel)
    .Prop("ExtractDirectory", &C::ExtractDirectory, &C::SetExtractDirectory)
    .Sub("FilesToProcess", [](const C* Compress) -> const TStrings& { return Compress->FilesToProcess(); })
    .Prop("Offset", &C::Offset, &C::SetOffset)
    .Prop("Overwrite", &C::Overwrite, &C::SetOverwrite)
    .Prop("OnAborted", &C::OnAborted)
    .Prop("OnAfterAdding", &C::OnAfterAdding)
    .Prop("OnAfterExtracting", &C::OnAfterExtracting)
    .Prop("OnBeforeAdding", &C::OnBeforeAdding)
    .Prop("OnBeforeExtracting", &C::OnBeforeExtracting)
    .Prop("OnFullDisk", &C::OnFullDisk)
    .Prop("OnListing", &C::OnListing)
    .Prop("OnNewDisk", &C::OnNewDisk)
    .Prop("OnReplace", &C::OnReplace)
    .Prop("OnStatus", &C::OnStatus);
QNL_END_CLASS

namespace {
std::function<void()>& MessagePump() {
  static std::function<void()> pump;
  return pump;
}
} // namespace

TQnlfCompress::TQnlfCompress(TComponent* AOwner)
    : TComponent(AOwner), FPipeline(std::make_unique<TDeflatePipeline>()) {}

TQnlfCompress::~TQnlfCompress() = default;

void TQnlfCompress::SetMessagePump(std::function<void()> Pump) { MessagePump() = std::move(Pump); }

void TQnlfCompress::SetCompressedFile(const std::string& Value) {
  // The disk files of one spanned set differ only in their extension and share one table.
  if (!SameText(Value, FCompressedFile) && !SameText(ChangeFileExt(Value, ""), ChangeFileExt(FCompressedFile, "")))
    FOpen = false;
  FCompressedFile = Value;
}

void TQnlfCompress::SetFilesToProcess(const TStrings& Value) {
  TStringList copy;
  for (int i = 0; i < Value.Count(); ++i)
    if (!Trim(Value[i]).empty()) copy.Add(Value[i]);
  FFilesToProcess.Assign(&copy);
}

void TQnlfCompress::SetOffset(int32_t Value) {
  // The table was read at the old archive start.
  if (Value != FOffset) FOpen = false;
  FOffset = Value;
}

std::unique_ptr<TStream> TQnlfCompress::OpenFile(const std::string& Path, ArchiveFiles::TOpenMode Mode) {
  return ArchiveFiles::Open(Path, Mode);
}

void TQnlfCompress::ProcessMessages() {
  if (MessagePump()) MessagePump()();
}

void TQnlfCompress::CheckAbort() {
  if (FAbort) throw EqcAborted("Operation aborted by user");
}

void TQnlfCompress::FireStatus(const TlzhFileStatsEvent& Event) {
  if (Event) Event(this, FStats);
}

void TQnlfCompress::CloseFiles() {
  FSource.reset();
  FDest.reset();
}

void TQnlfCompress::RunOperation(const std::function<void()>& Body, bool SwallowSilentAbort) {
  struct TCleanup {
    TQnlfCompress& Self;
    ~TCleanup() {
      Self.CloseFiles();
      Self.FFilesToProcess.Clear();
    }
  };
  try {
    TCleanup cleanup{*this};
    Body();
  } catch (const EqcAborted&) {
    if (OnAborted) OnAborted(this);
  } catch (const EAbort&) {
    if (!SwallowSilentAbort) {
      FAbort = true;
      throw;
    }
  } catch (...) {
    FAbort = true;
    throw;
  }
}

void TQnlfCompress::OpenArchive() {
  FOpen = false;
  FAppendCache.Valid = false;
  FHeldDest.reset();
  FReadAhead.reset();
  FHeldArchive.reset();
  auto file = ArchiveFiles::FileExists(FCompressedFile)
                  ? OpenFile(FCompressedFile, ArchiveFiles::TOpenMode::omReadShared)
                  : nullptr;
  if (!file) throw EQnlfCompress("Cannot open the compressed file %s", {FCompressedFile});
  FUniqueIndex.fill(0);
  try {
    FHeaders.ReadHeaders(*file, FOffset);
    for (int i = 0; i < FHeaders.Count(); ++i) {
      int32_t id = FHeaders.FileHeaders(i).UniqueID();
      if (id >= 0 && id <= kMaxUniqueID) FUniqueIndex[id] = i;
    }
  } catch (const Exception&) {
    FHeaders.Clear();
    throw EQnlfCompress(
        "Could not read the file headers for the compressed file. The Archive file could possible be corrupt");
  }
  FOpenTotals = {};
  FHeaders.ResetTotals(FOpenTotals);
  FOpen = true;
}

void TQnlfCompress::ResetTotals(TlzhFileStats& Stats) const {
  if (!FOpen) return FHeaders.ResetTotals(Stats);
  Stats.TotalBytesDone = FOpenTotals.TotalBytesDone;
  Stats.TotalPercentDone = FOpenTotals.TotalPercentDone;
  Stats.Finished = FOpenTotals.Finished;
  Stats.TotalCompressed = FOpenTotals.TotalCompressed;
  Stats.TotalSize = FOpenTotals.TotalSize;
  Stats.TotalRatio = FOpenTotals.TotalRatio;
}

void TQnlfCompress::OpenDiskFile(int DiskNumber, ArchiveFiles::TOpenMode Mode, std::string& Name,
                                 std::unique_ptr<TStream>& Slot) {
  for (int attempt = 0; attempt < 4; ++attempt) {
    Slot.reset();
    if (FHeaders.Spanned) Name = ChangeFileExt(Name, "." + IntToStr(DiskNumber));
    if (!ArchiveFiles::FileExists(Name)) {
      if (!OnNewDisk) throw EQnlfCompress("Could not open the correct disk file %d", {DiskNumber});
      std::string path = RemoveBackSlash(ExtractFileDir(Name));
      OnNewDisk(this, DiskNumber, path);
      ArchiveFiles::DiskChanged();
      // A handler that declined the disk (Cancel at its prompt) set Abort: the operation
      // stops as a user abort instead of asking again and then failing.
      CheckAbort();
      Name = RemoveBackSlash(path) + "\\" + ExtractFileName(Name);
    }
    if (ArchiveFiles::FileExists(Name)) {
      Slot = OpenFile(Name, Mode);
      if (!Slot) throw EQnlfCompress("Cannot open the compressed file %s", {Name});
      return;
    }
  }
  throw EQnlfCompress("Cannot open the compressed file %s", {Name});
}

void TQnlfCompress::DiskFull() {
  if (!OnFullDisk) throw EqcDiskFull("The disk is full");
  OnFullDisk(this);
}

int TQnlfCompress::GetFileCount() {
  if (!FOpen && FMode != TMode::mdAdding) OpenArchive();
  return FHeaders.Count();
}

TlzhFileStats TQnlfCompress::GetFileStats(int Index) {
  if (!FOpen && FMode != TMode::mdAdding) OpenArchive();
  if (Index < 0 || Index >= FHeaders.Count())
    throw EQnlfCompress("Tried to access the %dth file. This file is not defined", {Index});
  TlzhFileStats stats;
  ResetTotals(stats);
  HeaderToStats(FHeaders.FileHeaders(Index), stats);
  return stats;
}

int TQnlfCompress::IndexOfUniqueID(int32_t ID) const { return ID >= 0 && ID <= kMaxUniqueID ? FUniqueIndex[ID] : 0; }

TQnlfCompress& QnlfCompress() {
  static std::unique_ptr<TQnlfCompress> instance;
  if (!instance) instance = std::make_unique<TQnlfCompress>(nullptr);
  return *instance;
}

} // namespace qnl
