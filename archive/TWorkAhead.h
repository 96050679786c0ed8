// Jobs done ahead on worker threads for the thread that will use their results in order:
// members deflated at build time, members written into partial files beside their targets at
// install time.
#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace qnl {

// The number of worker threads of the archive: QUENLOFT_THREADS when it is a number from 1 to
// 64, else the number of cores. One means that nothing is done ahead.
int ArchiveThreads();

// Runs offered jobs in the order offered and holds each result until it is taken or dropped.
// Memory is bounded by the caller's sizes: a job is offered only while the sizes of the jobs
// held stay under Budget, and no more than MaxJobs are held. A job's body sees Stop set when
// the workers are told to end, and should then give up.
template <typename TResult>
class TWorkAhead {
public:
  using TBody = std::function<TResult(const std::atomic<bool>& Stop)>;

  TWorkAhead(int Threads, size_t MaxJobs, int64_t Budget, bool TakerRuns = true)
      : FMaxJobs(MaxJobs), FBudget(Budget), FTakerRuns(TakerRuns) {
    for (int i = 0; i < Threads; ++i) FWorkers.emplace_back([this] { Work(); });
  }
  // Stops the workers; results not taken are dropped.
  ~TWorkAhead() {
    {
      std::lock_guard lock(FLock);
      FStop = true;
    }
    FQueued.notify_all();
    for (auto& worker : FWorkers) worker.join();
  }
  TWorkAhead(const TWorkAhead&) = delete;
  TWorkAhead& operator=(const TWorkAhead&) = delete;

  // Whether a job of Size would be taken now; the first one always is.
  bool HasRoom(int64_t Size) const {
    std::lock_guard lock(FLock);
    return FJobs.size() < FMaxJobs && (FJobs.empty() || FHeld + Size <= FBudget);
  }
  void Offer(int Ticket, int64_t Size, TBody Body) {
    auto job = std::make_unique<TJob>();
    job->Ticket = Ticket;
    job->Size = Size;
    job->Body = std::move(Body);
    {
      std::lock_guard lock(FLock);
      FQueue.push_back(job.get());
      FHeld += Size;
      FJobs[Ticket] = std::move(job);
    }
    FQueued.notify_one();
  }
  // Waits for the result of Ticket; nullopt when it was not offered.
  std::optional<TResult> Take(int Ticket) {
    std::unique_lock lock(FLock);
    auto found = FJobs.find(Ticket);
    if (found == FJobs.end()) return std::nullopt;
    TJob& job = *found->second;
    auto queued = FTakerRuns ? std::find(FQueue.begin(), FQueue.end(), &job) : FQueue.end();
    if (queued != FQueue.end()) {
      // No worker has started it: this thread does it rather than wait behind the others.
      FQueue.erase(queued);
      lock.unlock();
      job.Result = job.Body(FStop);
      job.Body = nullptr;
      lock.lock();
    } else {
      FTaking = true;
      FDone.wait(lock, [&] { return job.Done; });
      FTaking = false;
    }
    TResult result = std::move(job.Result);
    Forget(found);
    return result;
  }
  // Gives up the result of Ticket without waiting for it.
  void Drop(int Ticket) {
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

private:
  struct TJob {
    int Ticket = 0;
    int64_t Size = 0;
    TBody Body;
    bool Done = false;
    bool Dropped = false; // given up while a worker runs it: the worker removes it
    TResult Result{};
  };
  using TJobs = std::map<int, std::unique_ptr<TJob>>;

  void Forget(typename TJobs::iterator Job) { // under FLock
    FHeld -= Job->second->Size;
    FJobs.erase(Job);
  }
  void Work() {
    for (;;) {
      TJob* job = nullptr;
      {
        std::unique_lock lock(FLock);
        FQueued.wait(lock, [&] { return FStop || !FQueue.empty(); });
        if (FStop) return;
        job = FQueue.front();
        FQueue.pop_front();
      }
      // The job stays in FJobs until it is taken, and only this worker touches it till Done.
      TResult result = job->Body(FStop);
      job->Body = nullptr; // what it holds (an open file) goes now
      bool taking = false;
      {
        std::lock_guard lock(FLock);
        job->Result = std::move(result);
        job->Done = true;
        if (job->Dropped) Forget(FJobs.find(job->Ticket));
        taking = FTaking;
      }
      // Only a waiting taker is woken: a wake-up per job would cost more than small jobs do.
      if (taking) FDone.notify_one();
    }
  }

  const size_t FMaxJobs;
  const int64_t FBudget;
  const bool FTakerRuns;
  mutable std::mutex FLock;
  std::condition_variable FQueued; // a job was queued, or the workers are to stop
  std::condition_variable FDone;   // a job that the taker waits for may be done
  bool FTaking = false;            // the taker waits
  std::deque<TJob*> FQueue;        // offered, not started
  TJobs FJobs;                     // offered, not taken
  int64_t FHeld = 0;               // the sizes of FJobs
  std::atomic<bool> FStop = false;
  std::vector<std::thread> FWorkers;
};

} // namespace qnl
