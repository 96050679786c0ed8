// Copying one file uncompressed, and spreading a single-file archive over disk files.
#include <vector>

#include "archive/EQnlfCompress.h"
#include "archive/TQnlfCompress.h"
#include "archive/TVersionResource.h"
#include "common/routines_Strings.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {
constexpr int64_t kCopyChunk = 8192;
}

void TQnlfCompress::CopyFile(const std::string& Source, const std::string& Dest) {
  FAbort = false;
  FOffset = 0;
  FOpen = false;
  FExtractDirectory = ExtractFileDir(Dest);
  ExtractName = ExtractFileName(Dest);
  // ExtractName would otherwise name the first member of the next Extract.
  struct TClear {
    TQnlfCompress& Self;
    ~TClear() {
      Self.ExtractName.clear();
      Self.CloseFiles();
    }
  } clear{*this};
  std::string dest = Dest;
  if (ArchiveFiles::FileExists(dest)) {
    int decision = IsFileNewerByName(Source, dest, FOverwrite);
    if (decision == nrFailed) throw EQnlfCompress("Error comparing file versions in TQnlfCompress");
    if (decision != nrNewer) return;
    if (OnReplace) {
      TlzhFileStats empty;
      OnReplace(this, empty);
      dest = AddBackSlash(FExtractDirectory) + ExtractName;
    }
  }
  TlzhFileStats stats;
  stats.FileName = Source;
  FSource = OpenFile(Source, ArchiveFiles::TOpenMode::omReadShared);
  if (!FSource) throw EQnlfCompress("Cannot open the file %s", {Source});
  stats.FileSize = static_cast<int32_t>(FSource->Size());
  FDest = OpenFile(dest, ArchiveFiles::TOpenMode::omCreate);
  if (!FDest) throw EQnlfCompress("Cannot create the file %s", {dest});
  std::vector<char> buffer(kCopyChunk);
  for (;;) {
    if (FAbort) return;
    int64_t n = FSource->Read(buffer.data(), kCopyChunk);
    int64_t written = n > 0 ? FDest->Write(buffer.data(), n) : 0;
    if (written < n) DiskFull();
    stats.BytesDone += static_cast<int32_t>(written);
    stats.TotalBytesDone += static_cast<int32_t>(written);
    stats.FilePercentDone = PercentByte(stats.BytesDone, stats.FileSize);
    stats.TotalPercentDone = stats.FilePercentDone;
    if (OnStatus) OnStatus(this, stats);
    ProcessMessages();
    if (n < kCopyChunk) {
      FDest.reset();
      TDateTime date;
      if (ArchiveFiles::GetFileDate(Source, date)) ArchiveFiles::SetFileDate(dest, date);
      stats.Finished = true;
      if (OnStatus) OnStatus(this, stats);
      return;
    }
  }
}

void TQnlfCompress::SpanToDisks(const std::string& Directory, const std::string& FileName) {
  FAbort = false;
  RunOperation([&] { DoSpan(Directory, FileName); }, false);
  // The table now holds the positions of the disk files, not of CompressedFile.
  FOpen = false;
}

void TQnlfCompress::DoSpan(const std::string& Directory, const std::string& FileName) {
  if (!FOpen) OpenArchive();
  FCurrentDisk = 1;
  FAppendCache.Valid = false;
  FHeldDest.reset();
  FHeaders.Spanned = 1;
  FHeaders.ResetTotals(FStats);
  FSource = OpenFile(FCompressedFile, ArchiveFiles::TOpenMode::omReadShared);
  if (!FSource) throw EQnlfCompress("Cannot open the compressed file %s", {FCompressedFile});
  std::string diskName = AddBackSlash(Directory) + FileName;
  FDest = OpenFile(diskName, ArchiveFiles::TOpenMode::omCreate);
  if (!FDest) throw EQnlfCompress("Cannot create the file %s", {diskName});
  FHeaders.WriteHeaders(*FDest);
  std::string directory = Directory;
  for (int i = 0; i < FHeaders.Count(); ++i) {
    TFileHeader& header = FHeaders.FileHeaders(i);
    HeaderToStats(header, FStats);
    FSource->Seek(int64_t(header.DataStart()) + FOffset, soBeginning);
    header.SetDataStart(static_cast<int32_t>(FDest->Position()));
    header.SetFirstDisk(static_cast<uint8_t>(FCurrentDisk));
    while (CopySpanChunk(header, directory, FileName)) {}
    header.SetLastByte(static_cast<int32_t>(FDest->Position() - 1));
    header.SetLastDisk(static_cast<uint8_t>(FCurrentDisk));
  }
  FDest.reset();
  std::unique_ptr<TStream> first;
  OpenDiskFile(1, ArchiveFiles::TOpenMode::omReadWriteShared, diskName, first);
  FHeaders.WriteHeaders(*first);
}

bool TQnlfCompress::CopySpanChunk(const TFileHeader& Header, std::string& Directory, const std::string& FileName) {
  CheckAbort();
  // LastByte still holds the source position here; it is replaced after the last chunk.
  int64_t want = std::min<int64_t>(kCopyChunk, int64_t(FOffset) + Header.LastByte() + 1 - FSource->Position());
  if (want <= 0) return false;
  std::vector<char> buffer(want);
  int64_t n = FSource->Read(buffer.data(), want);
  ProcessMessages();
  if (n <= 0) return false;
  int64_t written = FDest->Write(buffer.data(), n);
  if (written < n) {
    FDest.reset();
    ++FCurrentDisk;
    // Disk numbers are one byte in the headers.
    if (FCurrentDisk > 255) throw EQnlfCompress("There is too little space on this disk to operate");
    if (!OnNewDisk)
      throw EQnlfCompress(
          "There was no event handler for the OnNewDisk event, therefore no new disk could be inserted");
    OnNewDisk(this, FCurrentDisk, Directory);
    ArchiveFiles::DiskChanged();
    std::string name = AddBackSlash(Directory) + ChangeFileExt(FileName, "." + IntToStr(FCurrentDisk));
    FDest = OpenFile(name, ArchiveFiles::TOpenMode::omCreate);
    if (!FDest) throw EQnlfCompress("Cannot create the file %s", {name});
    if (FDest->Write(buffer.data() + written, n - written) < n - written)
      throw EQnlfCompress("There is too little space on this disk to operate");
  }
  FStats.BytesDone += static_cast<int32_t>(n);
  FStats.FilePercentDone = PercentByte(FStats.BytesDone, FStats.CompressedSize);
  FStats.TotalBytesDone += static_cast<int32_t>(n);
  FStats.TotalPercentDone = PercentByte(FStats.TotalBytesDone, FStats.TotalCompressed);
  FireStatus(OnStatus);
  return true;
}

} // namespace qnl
