// Extracting members: the overwrite decision, disk files, inflating and the size check.
#include <zlib.h>

#include <vector>

#include "archive/EQnlfCompress.h"
#include "archive/PartialFiles.h"
#include "archive/TQnlfCompress.h"
#include "archive/TVersionResource.h"
#include "archive/ZlibErrors.h"
#include "common/routines_Strings.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

constexpr int64_t kInChunk = 64 * 1024;
constexpr uInt kOutChunk = 4096;

// Owns one inflate stream for the life of one member.
class TInflater {
public:
  TInflater() : InitResult(inflateInit2(&Z, 15)) {}
  ~TInflater() {
    if (InitResult == Z_OK) inflateEnd(&Z);
  }
  z_stream Z{};
  const int InitResult;
};

} // namespace

void TQnlfCompress::Extract() {
  FAbort = false;
  FMode = TMode::mdExtracting;
  RunOperation([this] { DoExtract(); }, true);
  ExtractName.clear();
}

std::string TQnlfCompress::FormTarget() const {
  std::string name = ExtractFileName(ExtractName);
  // Only a plain file name may come out of an archive: nothing may land outside the
  // destination directory, whatever the member or a handler called it.
  if (Trim(name).empty() || name == "." || name == "..")
    throw EQnlfCompress("Cannot create the file %s", {AddBackSlash(FExtractDirectory) + name});
  return AddBackSlash(FExtractDirectory) + name;
}

void TQnlfCompress::DoExtract() {
  if (!FOpen) OpenArchive();
  FCurrentDisk = 0;
  ResetTotals(FStats);
  for (int i = 0; i < FFilesToProcess.Count(); ++i) {
    std::string entry = FFilesToProcess[i];
    int index = FHeaders.IndexOfName(entry);
    if (index < 0) throw EQnlfCompress("The file <%s> was not found in the archive <%s>", {entry, FCompressedFile});
    TFileHeader& header = FHeaders.FileHeaders(index);
    // The date is given to the file and compared with the existing file's; one that is no
    // date at all (NaN, 1e300) can only come from damage.
    if (!InDateRange(header.FileDate()))
      throw EQnlfCompress("The date of the file %s in the archive %s is damaged", {header.FileName(), FCompressedFile});
    HeaderToStats(header, FStats);
    if (Trim(ExtractName).empty()) ExtractName = ExtractFileName(header.FileName());
    FireStatus(OnBeforeExtracting);
    std::string target = FormTarget();
    bool write = true;
    if (ArchiveFiles::FileExists(target)) {
      int decision = IsFileNewerByInfo(header.FileVersion(), target, FOverwrite, header.FileDate());
      if (decision == nrFailed) throw EQnlfCompress("Error comparing file versions in TQnlfCompress");
      write = decision == nrNewer;
      if (write && OnReplace) {
        FireStatus(OnReplace);
        target = FormTarget();
      }
    }
    if (write) {
      ExtractMember(header, target);
    } else {
      FStats.Finished = true;
      FireStatus(OnStatus);
    }
    ExtractName.clear();
  }
  ExtractName.clear();
}

void TQnlfCompress::ExtractMember(TFileHeader& Header, const std::string& Target) {
  OpenDiskFile(Header.FirstDisk() ? Header.FirstDisk() : 1, ArchiveFiles::TOpenMode::omReadShared, FCompressedFile,
               FSource);
  FCurrentDisk = Header.FirstDisk();
  std::string dir = ExtractFileDir(Target);
  ArchiveFiles::ForceDirectories(dir);
  RemovePartialLeftovers(dir);
  // The member is written beside the target and put in its place only once it is whole: a
  // failure, an abort or a killed program never leaves a cut-short file under the target's
  // name (whose fresh date would make it look newer than the archive's to a later run). The
  // partial file is held while it is written, so that another extraction into the same
  // directory does not take it for a killed run's leftover.
  std::string part = PartialFiles::NewName(dir);
  FDest = OpenFile(part, ArchiveFiles::TOpenMode::omCreateHeld);
  if (!FDest) {
    ArchiveFiles::DeleteFile(part);
    throw EQnlfCompress("Cannot create the file %s", {Target});
  }
  try {
    FSource->Seek(int64_t(FOffset) + Header.DataStart(), soBeginning);
    Decompress(Header);
    int64_t size = FDest->Size();
    FDest.reset();
    if (size != Header.FileSize())
      throw EQnlfCompress(
          "The decompressed file's size does not match with the actual size of the file.  The file is %s",
          {Header.FileName()});
    // The date is set once the file is closed, so that no later write can move it.
    if (!ArchiveFiles::SetFileDate(part, Header.FileDate()))
      throw EQnlfCompress("Cannot set the date of the file just extracted.");
    std::string reason;
    if (!ArchiveFiles::ReplaceFile(part, Target, &reason))
      throw EQnlfCompress("Cannot create the file %s (%s)", {Target, reason});
  } catch (...) {
    FDest.reset();
    ArchiveFiles::DeleteFile(part);
    throw;
  }
  FStats.Finished = true;
  FireStatus(OnStatus);
  FSource.reset();
}

void TQnlfCompress::RemovePartialLeftovers(const std::string& Dir) {
  // Once per directory: a program installs many files into one directory.
  if (FSweptDirectories.insert(UpperCase(Dir)).second) PartialFiles::RemoveLeftovers(Dir);
}

void TQnlfCompress::Decompress(const TFileHeader& Header) {
  TInflater inflater;
  z_stream& z = inflater.Z;
  if (inflater.InitResult != Z_OK)
    throw EQnlfCompress("Cannot decompress the file %s from the archive %s: %s",
                        {Header.FileName(), FCompressedFile, ZlibReason(inflater.InitResult, z)});
  std::vector<unsigned char> in(kInChunk), out(kOutChunk);
  const int lastDisk = Header.LastDisk();
  const int64_t lastByteEnd = int64_t(FOffset) + Header.LastByte() + 1;
  bool ended = false;
  // Reads the next input chunk; on the last disk it stops after the member's last byte.
  auto readChunk = [&]() -> int64_t {
    int64_t want = kInChunk;
    if (FCurrentDisk == lastDisk) want = std::min<int64_t>(want, lastByteEnd - FSource->Position());
    if (want <= 0) return 0;
    int64_t n = FSource->Read(in.data(), want);
    z.next_in = in.data();
    z.avail_in = static_cast<uInt>(n > 0 ? n : 0);
    return n;
  };
  for (int pass = 0, passes = lastDisk - FCurrentDisk + 1; pass < passes && !ended; ++pass) {
    for (;;) {
      z.next_out = out.data();
      z.avail_out = kOutChunk;
      while (z.avail_out > 0 && !ended) {
        if (z.avail_in == 0 && readChunk() <= 0) break;
        int rc = inflate(&z, Z_NO_FLUSH);
        if (rc == Z_STREAM_END)
          ended = true;
        else if (rc == Z_BUF_ERROR)
          break;
        else if (rc != Z_OK)
          throw EQnlfCompress("The compressed data of the file %s in the archive %s is damaged: %s",
                              {Header.FileName(), FCompressedFile, ZlibReason(rc, z)});
      }
      CheckAbort();
      ProcessMessages();
      int64_t produced = kOutChunk - z.avail_out;
      if (produced == 0) break;
      // More output than the header announces is damage; stop before it fills the disk.
      if (FStats.BytesDone + produced > Header.FileSize())
        throw EQnlfCompress(
            "The decompressed file's size does not match with the actual size of the file.  The file is %s",
            {Header.FileName()});
      int64_t written = FDest->Write(out.data(), produced);
      if (written < produced) DiskFull();
      FStats.BytesDone += static_cast<int32_t>(written);
      FStats.TotalBytesDone += static_cast<int32_t>(written);
      FStats.FilePercentDone = PercentByte(FStats.BytesDone, FStats.FileSize);
      FStats.TotalPercentDone = PercentByte(FStats.TotalBytesDone, FStats.TotalSize);
      FireStatus(OnStatus);
    }
    if (!ended && FCurrentDisk < lastDisk) {
      ++FCurrentDisk;
      OpenDiskFile(FCurrentDisk, ArchiveFiles::TOpenMode::omReadShared, FCompressedFile, FSource);
      FSource->Seek(0, soBeginning);
    }
  }
  if (!ended) throw EQnlfCompress("The compressed data of the file %s is incomplete", {Header.FileName()});
}

} // namespace qnl
