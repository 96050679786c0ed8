// Deflating ahead on worker threads.
#include "archive/TDeflateAhead.h"

#include "archive/ArchiveFiles.h"

namespace qnl {

namespace {
constexpr int64_t kReadChunk = 64 * 1024;
// Jobs waiting for a worker, per worker: enough to keep each busy while the builder writes,
// few open files (a chunk job shares its member's).
constexpr size_t kJobsPerWorker = 16;

struct TStopped {};
} // namespace

// The builder only waits for the workers: it has the writing, the notifications and the next
// files' opening to do, and it takes the jobs in the order they are queued.
TDeflateAhead::TDeflateAhead(int Threads)
    : FWork(Threads, kJobsPerWorker * static_cast<size_t>(Threads), kBudget, false) {}

bool TDeflateAhead::HasRoom(int64_t Size) const { return FWork.HasRoom(Size); }

void TDeflateAhead::Offer(int Ticket, std::unique_ptr<TStream> Source, int64_t Size, TCompressionLevel Level) {
  std::shared_ptr<TStream> source = std::move(Source);
  FWork.Offer(Ticket, Size, [source, Level](const std::atomic<bool>& Stop) {
    return TResult{Deflate(*source, Level, Stop), {}};
  });
}

void TDeflateAhead::OfferChunk(int Ticket, std::shared_ptr<const TStream> Source, int64_t Offset, int64_t Length,
                               bool Last, TCompressionLevel Level) {
  FWork.Offer(Ticket, Length, [=](const std::atomic<bool>& Stop) {
    if (Stop) return TResult{};
    return TResult{{}, DeflatePart(*Source, Offset, Length, Last, Level)};
  });
}

std::optional<TDeflatedMember> TDeflateAhead::Take(int Ticket) {
  std::optional<TResult> result = FWork.Take(Ticket);
  if (!result) return std::nullopt;
  return std::move(result->Member);
}

TDeflatedPart TDeflateAhead::TakeChunk(int Ticket) {
  std::optional<TResult> result = FWork.Take(Ticket);
  return result ? std::move(result->Part) : TDeflatedPart{};
}

void TDeflateAhead::Drop(int Ticket) { FWork.Drop(Ticket); }

TDeflatedMember TDeflateAhead::Deflate(TStream& Source, TCompressionLevel Level, const std::atomic<bool>& Stop) {
  TDeflatedMember result;
  try {
    TMemoryStream out;
    TCompressionStream zip(Level, out, [&] {
      // A build that ends (aborted or failed) does not wait for members it will not write.
      if (Stop) throw TStopped();
      result.Progress.push_back({Source.Position(), out.Data().size()});
    });
    std::vector<char> buffer(kReadChunk);
    for (;;) {
      int64_t n = Source.Read(buffer.data(), kReadChunk);
      if (n <= 0) break;
      zip.WriteBuffer(buffer.data(), n);
      result.Copied += n;
      // It grew past what one worker deflates whole: the chunks would differ, the builder does it.
      if (!Whole(result.Copied)) return {};
    }
    zip.Finish();
    result.Data = std::move(out.Data());
    result.Ok = true;
    return result;
  } catch (...) {
    // A read error, memory, or a stop: the builder deflates the member itself and meets the
    // error, if any, where it would have met it.
    return {};
  }
}

TDeflatedPart TDeflateAhead::DeflatePart(const TStream& Source, int64_t Offset, int64_t Length, bool Last,
                                         TCompressionLevel Level) {
  TDeflatedPart part;
  try {
    int64_t start = std::max<int64_t>(0, Offset - kDeflateWindow);
    std::string input(size_t(Offset + Length - start), '\0');
    int64_t n = ArchiveFiles::ReadAt(Source, input.data(), int64_t(input.size()), start);
    // The last chunk holds the rest of the file: a byte behind it means the file grew.
    char more = 0;
    if (n < int64_t(input.size()) || (Last && ArchiveFiles::ReadAt(Source, &more, 1, Offset + Length) > 0)) return part;
    std::string_view view(input);
    part.Chunk = DeflateChunk(Level, view.substr(0, size_t(Offset - start)), view.substr(size_t(Offset - start)), Last);
    part.Ok = true;
  } catch (...) {
    part.Error = std::current_exception();
  }
  return part;
}

} // namespace qnl
