// Reading, writing and building the archive's header table.
#include "archive/TFileHeaders.h"

#include <algorithm>

#include "archive/ArchiveFiles.h"
#include "archive/EQnlfCompress.h"
#include "archive/MemberNames.h"
#include "archive/TVersionResource.h"
#include "common/routines_Strings.h"
#include "rtl/ByteOrder.h"
#include "rtl/Strings.h"
#include "rtl/SysUtils.h"

namespace qnl {

QNL_BEGIN_CLASS(TFileHeader);
QNL_END_CLASS

QNL_BEGIN_CLASS(TFileHeaders);
QNL_END_CLASS

namespace {
const char* const kReadHeadersFailed =
    "Could not read the file headers for the compressed file. The Archive file could possible be corrupt";
const char* const kWriteHeadersFailed = "Could not write the file headers for the compressed file";
} // namespace

TFileHeader& TFileHeaders::FileHeaders(int Index) const {
  if (Index < 0 || Index >= Count())
    throw EQnlfCompress("%d is an invalid TFileHeader index in TFileHeaders.GetFileHeaders", {Index});
  return *FItems[Index];
}

int TFileHeaders::Add(std::unique_ptr<TFileHeader> Header) {
  if (!Header || Trim(Header->FileName()).empty()) throw EQnlfCompress("Tried to add an invalid file header");
  std::string key = UpperCase(Header->FileName());
  if (!Header->SourcePath.empty()) FSourceByName.emplace(key, Count());
  FByName.emplace(std::move(key), Count());
  FItems.push_back(std::move(Header));
  return Count() - 1;
}

int TFileHeaders::IndexOfName(const std::string& Name) const {
  std::string wanted = MemberNameOf(Name);
  auto found = FByName.find(UpperCase(wanted));
  if (found != FByName.end() && SameText(FItems[found->second]->FileName(), wanted)) return found->second;
  // Headers are open to change once added: a name that is not where the index says is
  // looked for the long way.
  for (int i = 0; i < Count(); ++i)
    if (SameText(FItems[i]->FileName(), wanted)) return i;
  return -1;
}

void TFileHeaders::CheckNewName(const std::string& SourcePath, const std::string& StoredName) const {
  if (SourcePath.size() <= size_t(kMaxHeaderFileName) && IsLongPathMemberName(SourcePath))
    throw EQnlfCompress("The file %s cannot be stored in the archive: its path has the form of the names the archive "
                        "gives to long paths",
                        {SourcePath});
  // A member read back from the archive has no source path; one of the same name came from
  // the same path, as names are the path itself or carry the hash of the whole path.
  auto first = FSourceByName.find(UpperCase(StoredName));
  if (first == FSourceByName.end()) return;
  const TFileHeader& header = *FItems[first->second];
  if (!SameText(header.SourcePath, SourcePath))
    throw EQnlfCompress("The files %s and %s cannot both be stored in the archive: both would be named %s",
                        {header.SourcePath, SourcePath, StoredName});
}

void TFileHeaders::AddFiles(const TStrings& Files, bool Keep, std::vector<std::unique_ptr<TStream>>* Opened) {
  if (!Keep) Clear();
  if (Opened) Opened->clear();
  for (int i = 0; i < Files.Count(); ++i) {
    auto header = std::make_unique<TFileHeader>();
    // The whole entry is the path: ';' is a legal character of Windows file names.
    const std::string& name = Files[i];
    std::string stored = MemberNameOf(name);
    CheckNewName(name, stored);
    header->SetFileName(stored);
    header->SourcePath = name;
    auto file = ArchiveFiles::Open(name, ArchiveFiles::TOpenMode::omReadShared);
    if (!file) throw EQnlfCompress("Cannot open the file %s", {name});
    TDateTime date = 0;
    // Date and size from one look at the file already open, where it can tell them.
    std::optional<TFileIdentity> identity = ArchiveFiles::OpenedIdentityOf(*file);
    if (!identity || !ArchiveFiles::GetFileDate(*identity, date)) ArchiveFiles::GetFileDate(name, date);
    header->SetFileDate(date);
    int64_t size = identity ? identity->Size : file->Size();
    // Sizes and positions are 32-bit in the format; a larger file cannot be stored.
    if (size > INT32_MAX) throw EQnlfCompress("The file %s is too large for the archive", {name});
    header->SetFileSize(static_cast<int32_t>(size));
    // The version from the file already open: one open per file listed.
    header->SetFileVersion(ReadFileVersionString(*file));
    if (Opened) Opened->push_back(i < kKeptOpen ? std::move(file) : nullptr);
    file.reset();
    header->SetFileNumber(i + 1);
    Add(std::move(header));
  }
}

void TFileHeaders::ReadHeaders(TStream& Stream, int64_t ArchiveStart) {
  Clear();
  Stream.Seek(ArchiveStart, soBeginning);
  uint8_t head[kTableHeadSize];
  if (ArchiveStart < 0 || Stream.Read(head, kTableHeadSize) != kTableHeadSize)
    throw EQnlfCompress("Could not read the file header count for the compressed file");
  int32_t fileCount = static_cast<int32_t>(ReadLE32(head));
  Spanned = head[4];
  // Every header takes 172 bytes of its own on disk file 1; a count that cannot fit is damage,
  // and refusing it keeps a forged count from making the walk loop or eat memory.
  int64_t room = Stream.Size() - ArchiveStart - kTableHeadSize;
  if (fileCount < 0 || int64_t(fileCount) * kFileHeaderSize > room) throw EQnlfCompress(kReadHeadersFailed);
  int64_t p = ArchiveStart + kTableHeadSize;
  for (int32_t i = 0; i < fileCount; ++i) {
    auto header = std::make_unique<TFileHeader>();
    if (p < 0 || Stream.Seek(p, soBeginning) != p ||
        Stream.Read(header->Bytes.data(), kFileHeaderSize) != kFileHeaderSize)
      throw EQnlfCompress(kReadHeadersFailed);
    header->InArchive = true;
    p = ArchiveStart + header->NextHeader();
    Add(std::move(header));
  }
}

void TFileHeaders::WriteHeader(TStream& Stream, const TFileHeaderRecord& Header) {
  if (Stream.Write(Header.Bytes.data(), kFileHeaderSize) != kFileHeaderSize) throw EQnlfCompress(kWriteHeadersFailed);
}

void TFileHeaders::WriteHeaders(TStream& Stream) {
  Stream.Seek(0, soBeginning);
  uint8_t head[kTableHeadSize];
  WriteLE32(head, static_cast<uint32_t>(Count()));
  head[4] = Spanned;
  if (Stream.Write(head, kTableHeadSize) != kTableHeadSize) throw EQnlfCompress(kWriteHeadersFailed);
  if (Spanned == 0) return;
  for (auto& header : FItems) {
    header->SetNextHeader(static_cast<int32_t>(Stream.Position() + kFileHeaderSize));
    WriteHeader(Stream, *header);
  }
}

TFileHeaders::TSums TFileHeaders::SumFrom(int From) const {
  TSums sums;
  for (size_t i = size_t(std::max(From, 0)); i < FItems.size(); ++i) {
    sums.Compressed += FItems[i]->CompressedSize();
    sums.Size += FItems[i]->FileSize();
  }
  return sums;
}

void TFileHeaders::ResetTotals(TlzhFileStats& Stats) const { ResetTotals(Stats, {}, 0); }

void TFileHeaders::ResetTotals(TlzhFileStats& Stats, const TSums& Before, int From) const {
  Stats.TotalBytesDone = 0;
  Stats.TotalPercentDone = 0;
  Stats.Finished = false;
  TSums rest = SumFrom(From);
  // The record's totals are 32-bit, as the format's sizes are.
  Stats.TotalCompressed = static_cast<int32_t>(Before.Compressed + rest.Compressed);
  Stats.TotalSize = static_cast<int32_t>(Before.Size + rest.Size);
  Stats.TotalRatio = PercentByte(Stats.TotalCompressed, Stats.TotalSize);
}

} // namespace qnl
