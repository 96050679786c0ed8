// Extracting members: the overwrite decision, disk files, inflating and the size check.
#include <vector>

#include "archive/EQnlfCompress.h"
#include "archive/MemberNames.h"
#include "archive/PartialFiles.h"
#include "archive/TInflateAhead.h"
#include "archive/TMemberInflater.h"
#include "archive/TQnlfCompress.h"
#include "archive/TVersionResource.h"
#include "common/routines_Strings.h"
#include "platform/files/FilesAhead.h"
#include "rtl/SysUtils.h"

namespace qnl {

void TQnlfCompress::Extract() {
  FAbort = false;
  FMode = TMode::mdExtracting;
  RunOperation(
      [this] {
        try {
          DoExtract();
        } catch (...) {
          // An abort or a failure ends the installation's run of members: the workers stop.
          FReadAhead.reset();
          FHeldArchive.reset();
          throw;
        }
      },
      true);
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
    // Overwriting always, an existing target only matters to an OnReplace handler: an
    // installation that took its decision already does not look at the target again.
    if ((FOverwrite != owAlways || OnReplace) && ArchiveFiles::FileExists(target)) {
      int decision = IsFileNewerByInfo(header.FileVersion(), target, FOverwrite, header.FileDate());
      if (decision == nrFailed) throw EQnlfCompress("Error comparing file versions in TQnlfCompress");
      write = decision == nrNewer;
      if (write && OnReplace) {
        FireStatus(OnReplace);
        target = FormTarget();
      }
    }
    if (write) {
      ExtractMember(index, header, target);
    } else {
      FStats.Finished = true;
      FireStatus(OnStatus);
    }
    ExtractName.clear();
  }
  ExtractName.clear();
}

void TQnlfCompress::ExtractMember(int Index, TFileHeader& Header, const std::string& Target) {
  if (FHeldArchive && !FHeaders.Spanned && FHeldArchiveName == FCompressedFile)
    FSource = std::move(FHeldArchive);
  else {
    OpenDiskFile(Header.FirstDisk() ? Header.FirstDisk() : 1, ArchiveFiles::TOpenMode::omReadShared, FCompressedFile,
                 FSource);
    FSourceIdentity.reset();
  }
  FHeldArchive.reset();
  FCurrentDisk = Header.FirstDisk();
  std::optional<TInflatedMember> ahead = TakeInflated(Index);
  std::string dir = ExtractFileDir(Target);
  ArchiveFiles::ForceDirectories(dir);
  RemovePartialLeftovers(dir);
  // What was written ahead went where the hint said; a handler may have sent the member
  // elsewhere since. Then its partial file goes and the member is written here.
  if (ahead && SameText(RemoveBackSlash(ahead->Dir), RemoveBackSlash(dir))) {
    ++FInflatedAhead;
    PutWrittenAhead(Header, *ahead, Target);
  } else {
    ahead.reset();
    WriteMember(Header, Target);
  }
  FStats.Finished = true;
  FireStatus(OnStatus);
  // Disk files are opened afresh each time: the next one may be on a disk not inserted yet.
  if (!FHeaders.Spanned) {
    FHeldArchive = std::move(FSource);
    FHeldArchiveName = FCompressedFile;
  }
  FSource.reset();
}

void TQnlfCompress::WriteMember(const TFileHeader& Header, const std::string& Target) {
  std::string dir = ExtractFileDir(Target);
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
}

void TQnlfCompress::PutWrittenAhead(const TFileHeader& Header, TInflatedMember& Member, const std::string& Target) {
  // The progress, the damage and the end, each at the point where writing the member here
  // meets them; the partial file, complete and dated, goes with Member on any failure.
  for (uint32_t length : Member.Blocks)
    if (BeginBlock(Header, length)) EndBlock(length);
  if (Member.Damage) std::rethrow_exception(Member.Damage);
  BeginBlock(Header, 0);
  if (!Member.Ended) throw EQnlfCompress("The compressed data of the file %s is incomplete", {Header.FileName()});
  if (Member.Written != Header.FileSize())
    throw EQnlfCompress("The decompressed file's size does not match with the actual size of the file.  The file is %s",
                        {Header.FileName()});
  std::string reason;
  if (!Member.File.PutInPlace(Target, reason)) throw EQnlfCompress("Cannot create the file %s (%s)", {Target, reason});
}

void TQnlfCompress::RemovePartialLeftovers(const std::string& Dir) {
  // Once per directory: a program installs many files into one directory.
  if (FSweptDirectories.insert(UpperCase(Dir)).second) PartialFiles::RemoveLeftovers(Dir);
}

void TQnlfCompress::Decompress(const TFileHeader& Header) {
  TMemberInflater inflater(Header.FileName(), FCompressedFile);
  std::vector<unsigned char> block(TMemberInflater::kBlock);
  const int lastDisk = Header.LastDisk();
  const int64_t lastByteEnd = int64_t(FOffset) + Header.LastByte() + 1;
  // On the last disk the input stops after the member's last byte.
  auto read = [&](unsigned char* Buffer, int64_t Count) -> int64_t {
    int64_t want = Count;
    if (FCurrentDisk == lastDisk) want = std::min<int64_t>(want, lastByteEnd - FSource->Position());
    return want <= 0 ? 0 : FSource->Read(Buffer, want);
  };
  for (int pass = 0, passes = lastDisk - FCurrentDisk + 1; pass < passes && !inflater.Ended(); ++pass) {
    while (WriteBlock(Header, block.data(), inflater.Next(block.data(), read))) {}
    if (!inflater.Ended() && FCurrentDisk < lastDisk) {
      ++FCurrentDisk;
      OpenDiskFile(FCurrentDisk, ArchiveFiles::TOpenMode::omReadShared, FCompressedFile, FSource);
      FSource->Seek(0, soBeginning);
    }
  }
  if (!inflater.Ended()) throw EQnlfCompress("The compressed data of the file %s is incomplete", {Header.FileName()});
}

bool TQnlfCompress::WriteBlock(const TFileHeader& Header, const void* Data, size_t Count) {
  if (!BeginBlock(Header, Count)) return false;
  int64_t produced = static_cast<int64_t>(Count);
  int64_t written = FDest->Write(Data, produced);
  if (written < produced) DiskFull();
  EndBlock(written);
  return true;
}

bool TQnlfCompress::BeginBlock(const TFileHeader& Header, size_t Count) {
  CheckAbort();
  ProcessMessages();
  if (Count == 0) return false;
  // More output than the header announces is damage; stop before it fills the disk.
  if (FStats.BytesDone + static_cast<int64_t>(Count) > Header.FileSize())
    throw EQnlfCompress("The decompressed file's size does not match with the actual size of the file.  The file is %s",
                        {Header.FileName()});
  return true;
}

void TQnlfCompress::EndBlock(int64_t Written) {
  FStats.BytesDone += static_cast<int32_t>(Written);
  FStats.TotalBytesDone += static_cast<int32_t>(Written);
  FStats.FilePercentDone = PercentByte(FStats.BytesDone, FStats.FileSize);
  FStats.TotalPercentDone = PercentByte(FStats.TotalBytesDone, FStats.TotalSize);
  FireStatus(OnStatus);
}

std::optional<TInflatedMember> TQnlfCompress::TakeInflated(int Index) {
  // Only members whose destinations were announced are written ahead, and never across
  // disks: the next disk may be a floppy not inserted yet, or another one in the same drive
  // later.
  if (FHeaders.Spanned || ArchiveThreads() <= 1) return std::nullopt;
  if (!FReadAhead && (FExpectedDirs.empty() || !SameText(FExpectedArchive, FCompressedFile))) return std::nullopt;
  if (!FSourceIdentity) FSourceIdentity = ArchiveFiles::IdentityOf(*FSource);
  const std::optional<TFileIdentity>& identity = *FSourceIdentity;
  if (FReadAhead && !FReadAhead->Reads(FCompressedFile, identity)) FReadAhead.reset();
  std::optional<TInflatedMember> member;
  if (FReadAhead) {
    member = FReadAhead->Take(Index);
  } else if (identity) {
    std::unique_ptr<TStream> own = OpenFile(FCompressedFile, ArchiveFiles::TOpenMode::omReadShared);
    if (own && ArchiveFiles::IdentityOf(*own) == identity) {
      FReadAhead = std::make_unique<TInflateAhead>(ArchiveThreads(), std::move(own), FCompressedFile, *identity);
      FReadAhead->Take(Index);
    }
  }
  if (FReadAhead) FReadAhead->TopUp(FHeaders.Count(), [this](int I) { return PlaceOf(I); });
  return member;
}

std::optional<TMemberPlace> TQnlfCompress::PlaceOf(int Index) {
  const TFileHeader& header = FHeaders.FileHeaders(Index);
  auto expected = FExpectedDirs.find(UpperCase(header.FileName()));
  if (expected == FExpectedDirs.end()) return std::nullopt;
  TMemberPlace place{int64_t(FOffset) + header.DataStart(),
                     int64_t(FOffset) + header.LastByte() + 1,
                     header.FileSize(),
                     header.FileName(),
                     expected->second,
                     {},
                     {}};
  // A member not whole in the file yet is read at its turn.
  if (place.End > FReadAhead->Identity().Size || place.Start > place.End || place.Start < 0) return std::nullopt;
  // A damaged date is met at the member's turn.
  if (!InDateRange(header.FileDate())) return std::nullopt;
  std::optional<struct timespec> date = HostFileTime(header.FileDate());
  auto host = FHostDirs.find(expected->second);
  if (host == FHostDirs.end()) host = FHostDirs.emplace(expected->second, HostPathFor(expected->second)).first;
  if (!date || !host->second) return std::nullopt;
  place.HostDir = *host->second;
  place.Date = *date;
  return place;
}

void TQnlfCompress::ExpectDestinations(const std::string& Archive,
                                       const std::vector<std::pair<std::string, std::string>>& Dirs) {
  if (!SameText(Archive, FExpectedArchive)) {
    FExpectedDirs.clear();
    FExpectedArchive = Archive;
  }
  for (const auto& [member, dir] : Dirs) FExpectedDirs[UpperCase(MemberNameOf(member))] = dir;
}

void TQnlfCompress::ForgetReadAhead() {
  FReadAhead.reset();
  FHeldArchive.reset();
  FExpectedArchive.clear();
  FExpectedDirs.clear();
  FHostDirs.clear();
}

} // namespace qnl
