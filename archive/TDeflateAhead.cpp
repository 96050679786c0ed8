// Deflating ahead on worker threads.
#include "archive/TDeflateAhead.h"

namespace qnl {

namespace {
constexpr int64_t kReadChunk = 64 * 1024;
// Open files waiting for a worker, per worker: enough to keep each busy, few descriptors.
constexpr size_t kJobsPerWorker = 8;

struct TStopped {};
} // namespace

TDeflateAhead::TDeflateAhead(int Threads) : FWork(Threads, kJobsPerWorker * static_cast<size_t>(Threads), kBudget) {}

bool TDeflateAhead::HasRoom(int64_t Size) const { return Fits(Size) && FWork.HasRoom(Size); }

void TDeflateAhead::Offer(int Ticket, std::unique_ptr<TStream> Source, int64_t Size, TCompressionLevel Level) {
  std::shared_ptr<TStream> source = std::move(Source);
  FWork.Offer(Ticket, Size, [source, Level](const std::atomic<bool>& Stop) { return Deflate(*source, Level, Stop); });
}

std::optional<TDeflatedMember> TDeflateAhead::Take(int Ticket) { return FWork.Take(Ticket); }

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
      if (result.Copied > kLargestMember) return {}; // it grew: the builder streams it
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

} // namespace qnl
