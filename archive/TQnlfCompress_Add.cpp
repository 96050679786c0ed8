// Adding files to an archive: one zlib stream per member, headers rewritten in place.
#include <algorithm>
#include <vector>

#include "archive/DeflateChunks.h"
#include "archive/EQnlfCompress.h"
#include "archive/TDeflatePipeline.h"
#include "archive/TQnlfCompress.h"
#include "common/routines_Strings.h"
#include "rtl/ScopeGuard.h"

namespace qnl {

namespace {
constexpr int64_t kReadChunk = 64 * 1024;
}

void TQnlfCompress::Add(TlzhCommand Command, int32_t UniqueID) {
  FAbort = false;
  FMode = TMode::mdAdding;
  FOffset = 0;
  TAppendCache cache = FAppendCache;
  FAppendCache.Valid = false;
  std::unique_ptr<TStream> held = std::move(FHeldDest);
  RunOperation([&] { DoAdd(Command, UniqueID, cache, std::move(held)); }, true);
  FOpen = false;
}

std::unique_ptr<TStream> TQnlfCompress::HeldDestFor(TlzhCommand Command, const TAppendCache& Cache,
                                                    std::unique_ptr<TStream> Held) const {
  if (!Held || Command != lzcOnlyAdd || !Cache.Valid || Cache.File != FCompressedFile) return nullptr;
  // Still the file at its name, as the last Add left it: nobody replaced, moved or cut it.
  std::optional<TFileIdentity> now = ArchiveFiles::IdentityOfPath(FCompressedFile);
  std::optional<TFileIdentity> held = ArchiveFiles::IdentityOf(*Held);
  if (!now || !held || *now != *held || now->Size != Cache.Size) return nullptr;
  return Held;
}

void TQnlfCompress::DoAdd(TlzhCommand Command, int32_t UniqueID, const TAppendCache& Cache,
                          std::unique_ptr<TStream> Held) {
  FOpen = false;
  FDest = HeldDestFor(Command, Cache, std::move(Held));
  bool append = FDest != nullptr;
  if (!FDest) {
    ArchiveFiles::ForceDirectories(ExtractFileDir(FCompressedFile));
    append = Command == lzcOnlyAdd && ArchiveFiles::FileExists(FCompressedFile);
    FDest = OpenFile(FCompressedFile,
                     append ? ArchiveFiles::TOpenMode::omReadWriteShared : ArchiveFiles::TOpenMode::omCreate);
  }
  if (!FDest) throw EQnlfCompress("Cannot create the file %s", {FCompressedFile});
  // The table this component wrote last is still the file's when the file is as it left it.
  bool cached = append && Cache.Valid && Cache.File == FCompressedFile && FDest->Size() == Cache.Size &&
                FHeaders.Count() == Cache.Count;
  if (!cached) FHeaders.Spanned = 0;
  if (append && !cached) {
    FHeaders.ReadHeaders(*FDest, 0);
    // Appending writes members behind the last byte, which only the single-file layout allows.
    if (FHeaders.Spanned != 0) throw EQnlfCompress("Cannot add files to the spanned archive %s", {FCompressedFile});
  }
  std::vector<std::unique_ptr<TStream>> opened;
  const int listed = FHeaders.Count();
  FHeaders.AddFiles(FFilesToProcess, append, &opened);
  FHeaders.WriteHeaders(*FDest);
  FDest->Seek(0, soEnd);
  if (cached)
    FHeaders.ResetTotals(FStats, Cache.Sums, Cache.Count);
  else
    FHeaders.ResetTotals(FStats);
  FStats.TotalCompressed = 0;
  // Members are deflated ahead on the other cores while this thread writes them in order and
  // makes every notification, as when it deflates them itself.
  // The members the cached table holds are all in the archive: a build of thousands of files,
  // one per Add, does not walk them every time.
  const int first = cached ? Cache.Count : 0;
  std::vector<std::string> adding;
  for (int i = first; i < FHeaders.Count(); ++i)
    if (!FHeaders.FileHeaders(i).InArchive) adding.push_back(SourceNameOf(FHeaders.FileHeaders(i)));
  FPipeline->ExpectNow(adding);
  for (int i = first; i < FHeaders.Count(); ++i) {
    if (FHeaders.FileHeaders(i).InArchive) continue;
    FPipeline->TopUp(FCompressionLevel, OpenSource());
    size_t slot = size_t(i - listed);
    AddOneFile(i, UniqueID, slot < opened.size() ? std::move(opened[slot]) : nullptr);
  }
  for (int i = first; i < FHeaders.Count(); ++i) FHeaders.FileHeaders(i).InArchive = true;
  TFileHeaders::TSums sums = cached ? Cache.Sums : TFileHeaders::TSums();
  TFileHeaders::TSums added = FHeaders.SumFrom(cached ? Cache.Count : 0);
  FAppendCache = {true,
                  FCompressedFile,
                  FDest->Size(),
                  FHeaders.Count(),
                  {sums.Compressed + added.Compressed, sums.Size + added.Size}};
  // The next Add to this archive appends where this one ended: the file stays open for it.
  FHeldDest = std::move(FDest);
}

void TQnlfCompress::ExpectSources(const std::vector<std::string>& Paths) { FPipeline->Expect(Paths); }

void TQnlfCompress::ForgetExpectedSources() {
  FPipeline->Clear();
  // The pass is over: what it wrote is closed for the steps after it.
  FHeldDest.reset();
}

std::function<std::unique_ptr<TStream>(const std::string&)> TQnlfCompress::OpenSource() {
  return [this](const std::string& Path) { return OpenFile(Path, ArchiveFiles::TOpenMode::omReadShared); };
}

std::string TQnlfCompress::SourceNameOf(const TFileHeader& Header) {
  return Header.SourcePath.empty() ? Header.FileName() : Header.SourcePath;
}

void TQnlfCompress::AddOneFile(int Index, int32_t UniqueID, std::unique_ptr<TStream> Opened) {
  TFileHeader& header = FHeaders.FileHeaders(Index);
  std::string name = SourceNameOf(header);
  TScopeExit forgetReplay([this] { FReplayPosition.reset(); });
  // The file as the listing opened it, read from its start.
  if (Opened) Opened->Seek(0, soBeginning);
  FSource = Opened ? std::move(Opened) : OpenFile(name, ArchiveFiles::TOpenMode::omReadShared);
  if (!FSource) throw EQnlfCompress("Cannot open the file %s", {name});
  bool chunked = false;
  std::optional<TDeflatedMember> deflated =
      FPipeline->TakeFor(name, ArchiveFiles::IdentityOf(*FSource), FCompressionLevel, &chunked);
  int64_t headerPos = FDest->Position();
  TFileHeaders::WriteHeader(*FDest, header);
  header.SetDataStart(static_cast<int32_t>(FDest->Position()));
  int64_t sizeBefore = FDest->Size();
  HeaderToStats(header, FStats);
  FStats.CompressedSize = 0;
  FireStatus(OnBeforeAdding);

  int64_t copied = 0;
  if (chunked)
    copied = WriteChunks(name);
  else
    copied = deflated ? WriteDeflated(*deflated) : DeflateSource(name);
  // The stored size is what was compressed, also when the file changed since it was listed,
  // so that extraction's size check holds for every archive this writes.
  header.SetFileSize(static_cast<int32_t>(copied));
  FStats.FileSize = static_cast<int32_t>(copied);

  FStats.Ratio = PercentByte(FStats.CompressedSize, FStats.FileSize);
  FStats.Finished = true;
  AddStatus();
  FStats.Finished = false;
  int64_t end = FDest->Position();
  FStats.TotalCompressed += static_cast<int32_t>(FDest->Size() - sizeBefore + 1);
  if (end > INT32_MAX) throw EQnlfCompress("The file %s is too large for the archive", {name});
  header.SetLastByte(static_cast<int32_t>(end - 1));
  header.SetNextHeader(static_cast<int32_t>(end));
  header.SetCompressedSize(FStats.CompressedSize);
  header.SetUniqueID(UniqueID);
  if (UniqueID >= 0 && UniqueID <= kMaxUniqueID) FUniqueIndex[UniqueID] = Index;
  FDest->Seek(headerPos, soBeginning);
  TFileHeaders::WriteHeader(*FDest, header);
  FDest->Seek(0, soEnd);
  FireStatus(OnAfterAdding);
  FSource.reset();
}

int64_t TQnlfCompress::DeflateSource(const std::string& Name) {
  int64_t copied = 0;
  TCompressionStream zip(FCompressionLevel, *FDest, [this] { AddStatus(); });
  std::vector<char> buffer(kReadChunk);
  for (;;) {
    int64_t n = FSource->Read(buffer.data(), kReadChunk);
    if (n <= 0) break;
    zip.WriteBuffer(buffer.data(), n);
    copied += n;
    // A file that grows while it is read would overflow the 32-bit sizes of the format.
    if (copied > INT32_MAX) throw EQnlfCompress("The file %s is too large for the archive", {Name});
  }
  zip.Finish();
  return copied;
}

int64_t TQnlfCompress::WriteChunks(const std::string& Name) {
  int64_t dataStart = FDest->Position();
  int64_t copied = 0;
  TScopeExit endChunks([this] { FPipeline->EndChunked(); });
  // Progress calls see the source read to the end of the chunk being written, as when this
  // thread reads and deflates the member itself.
  TZlibChunkWriter writer(FCompressionLevel, *FDest, [&] {
    FReplayPosition = copied;
    AddStatus();
  });
  for (;;) {
    TDeflatedPart part = FPipeline->NextChunk(OpenSource());
    if (part.Error) std::rethrow_exception(part.Error);
    if (!part.Ok) {
      // The file changed under the workers: what was written of it goes, and it is deflated
      // here from its start as it is now.
      FDest->Seek(dataStart, soBeginning);
      FDest->SetSize(dataStart);
      FReplayPosition.reset();
      return DeflateSource(Name);
    }
    copied += part.Chunk.Length;
    if (copied > INT32_MAX) throw EQnlfCompress("The file %s is too large for the archive", {Name});
    writer.Add(part.Chunk);
    if (part.Chunk.Last) break;
  }
  writer.Finish();
  FReplayPosition = copied;
  return copied;
}

int64_t TQnlfCompress::WriteDeflated(const TDeflatedMember& Deflated) {
  // The blocks as the compressor passed them on, each followed by its progress call, which
  // sees the source position of that moment.
  size_t written = 0;
  for (const auto& point : Deflated.Progress) {
    FDest->WriteBuffer(Deflated.Data.data() + written, static_cast<int64_t>(point.Written - written));
    written = point.Written;
    FReplayPosition = point.SourcePosition;
    AddStatus();
  }
  FDest->WriteBuffer(Deflated.Data.data() + written, static_cast<int64_t>(Deflated.Data.size() - written));
  // The source read to its end, as the last progress call sees it.
  FReplayPosition = Deflated.Copied;
  return Deflated.Copied;
}

void TQnlfCompress::AddStatus() {
  CheckAbort();
  ProcessMessages();
  if (!FDest) throw EQnlfCompress("AddStatus has Nil DestFile");
  int64_t p = FReplayPosition ? *FReplayPosition : FSource ? FSource->Position() : 0;
  FStats.TotalBytesDone += static_cast<int32_t>(p - 1 - FStats.BytesDone);
  FStats.BytesDone = static_cast<int32_t>(p - 1);
  FStats.CompressedSize = static_cast<int32_t>(FDest->Size());
  FStats.FilePercentDone = PercentByte(FStats.BytesDone, FStats.FileSize);
  FStats.TotalPercentDone = PercentByte(FStats.TotalBytesDone, FStats.TotalSize);
  FireStatus(OnStatus);
}

} // namespace qnl
