// Deflating ahead on worker threads.
#include "archive/TDeflateAhead.h"

#include <algorithm>
#include <cstdlib>

#include "platform/system/Environment.h"

namespace qnl {

namespace {
constexpr int64_t kReadChunk = 64 * 1024;
// Open files waiting for a worker, per worker: enough to keep each busy, few descriptors.
constexpr size_t kJobsPerWorker = 8;

struct TStopped {};
} // namespace

int DeflateThreads() {
  if (auto value = GetEnvironmentVariable("QUENLOFT_THREADS")) {
    char* end = nullptr;
    long n = std::strtol(value->c_str(), &end, 10);
    if (!value->empty() && *end == '\0' && n >= 1 && n <= 64) return static_cast<int>(n);
  }
  unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(cores > 64 ? 64 : cores);
}

TDeflateAhead::TDeflateAhead(int Threads) : FMaxJobs(kJobsPerWorker * static_cast<size_t>(Threads)) {
  for (int i = 0; i < Threads; ++i) FWorkers.emplace_back([this] { Work(); });
}

TDeflateAhead::~TDeflateAhead() {
  {
    std::lock_guard lock(FLock);
    FStop = true;
  }
  FChanged.notify_all();
  for (auto& worker : FWorkers) worker.join();
}

bool TDeflateAhead::HasRoom(int64_t Size) const {
  std::lock_guard lock(FLock);
  return Fits(Size) && FJobs.size() < FMaxJobs && (FJobs.empty() || FHeld + Size <= kBudget);
}

void TDeflateAhead::Offer(int Ticket, std::unique_ptr<TStream> Source, int64_t Size, TCompressionLevel Level) {
  auto job = std::make_unique<TJob>();
  job->Ticket = Ticket;
  job->Source = std::move(Source);
  job->Size = Size;
  job->Level = Level;
  {
    std::lock_guard lock(FLock);
    FQueue.push_back(job.get());
    FHeld += Size;
    FJobs[Ticket] = std::move(job);
  }
  FChanged.notify_all();
}

std::optional<TDeflatedMember> TDeflateAhead::Take(int Ticket) {
  std::unique_lock lock(FLock);
  auto found = FJobs.find(Ticket);
  if (found == FJobs.end()) return std::nullopt;
  TJob& job = *found->second;
  FChanged.wait(lock, [&] { return job.Done; });
  TDeflatedMember result = std::move(job.Result);
  Forget(found);
  return result;
}

void TDeflateAhead::Drop(int Ticket) {
  std::lock_guard lock(FLock);
  auto found = FJobs.find(Ticket);
  if (found == FJobs.end()) return;
  TJob* job = found->second.get();
  if (auto queued = std::find(FQueue.begin(), FQueue.end(), job); queued != FQueue.end()) {
    FQueue.erase(queued);
    Forget(found);
  } else if (job->Done) {
    Forget(found);
  } else {
    job->Dropped = true;
  }
}

void TDeflateAhead::Forget(std::map<int, std::unique_ptr<TJob>>::iterator Job) {
  FHeld -= Job->second->Size;
  FJobs.erase(Job);
}

void TDeflateAhead::Work() {
  for (;;) {
    TJob* job = nullptr;
    {
      std::unique_lock lock(FLock);
      FChanged.wait(lock, [&] { return FStop || !FQueue.empty(); });
      if (FStop) return;
      job = FQueue.front();
      FQueue.pop_front();
    }
    // The job stays in FJobs until it is taken, and only this worker touches it till Done.
    TDeflatedMember result = Deflate(*job->Source, job->Level);
    job->Source.reset();
    {
      std::lock_guard lock(FLock);
      job->Result = std::move(result);
      job->Done = true;
      if (job->Dropped) Forget(FJobs.find(job->Ticket));
    }
    FChanged.notify_all();
  }
}

TDeflatedMember TDeflateAhead::Deflate(TStream& Source, TCompressionLevel Level) const {
  TDeflatedMember result;
  try {
    TMemoryStream out;
    TCompressionStream zip(Level, out, [&] {
      // A build that ends (aborted or failed) does not wait for members it will not write.
      if (FStop) throw TStopped();
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
