// Deflating the next members of an archive build on worker threads while the builder writes
// the current one.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "archive/TCompressionStream.h"
#include "rtl/Streams.h"

namespace qnl {

// The number of threads that deflate members at build time: QUENLOFT_THREADS when it is a
// number from 1 to 64, else the number of cores. One means that the builder deflates alone.
int DeflateThreads();

// A member deflated ahead: its zlib stream, and for each block the compressor passed on with a
// progress call, the source's position and the stream's length at that call. The builder
// writes the blocks and makes the same progress calls as when it deflates the member itself.
struct TDeflatedMember {
  struct TProgressPoint {
    int64_t SourcePosition = 0;
    size_t Written = 0;
  };
  bool Ok = false; // false: the source could not be read whole; the builder tries it itself
  std::string Data;
  std::vector<TProgressPoint> Progress;
  int64_t Copied = 0; // the bytes read from the source
};

// Workers that deflate offered members in the order offered. Deflating is deterministic, so a
// member comes out byte for byte as the builder would make it. Memory is bounded: a member is
// offered only while the members held stay under a budget, and large members are left to the
// builder, which streams them.
class TDeflateAhead {
public:
  explicit TDeflateAhead(int Threads);
  // Stops the workers; members not taken are dropped.
  ~TDeflateAhead();
  TDeflateAhead(const TDeflateAhead&) = delete;
  TDeflateAhead& operator=(const TDeflateAhead&) = delete;

  // Whether a member of Size bytes would be taken now; false for good when Size is above the
  // largest member held in memory.
  bool HasRoom(int64_t Size) const;
  bool Fits(int64_t Size) const { return Size <= kLargestMember; }
  // Queues a member under Ticket, read from Source, Size bytes as listed, deflated at Level.
  void Offer(int Ticket, std::unique_ptr<TStream> Source, int64_t Size, TCompressionLevel Level);
  // Waits for the member of Ticket; nullopt when it was not offered.
  std::optional<TDeflatedMember> Take(int Ticket);
  // Gives up the member of Ticket without waiting for it.
  void Drop(int Ticket);

  static constexpr int64_t kLargestMember = 4 << 20;
  static constexpr int64_t kBudget = 32 << 20;

private:
  struct TJob {
    int Ticket = 0;
    std::unique_ptr<TStream> Source;
    int64_t Size = 0;
    TCompressionLevel Level = colMax;
    bool Done = false;
    bool Dropped = false; // given up while a worker deflates it: the worker removes it
    TDeflatedMember Result;
  };
  void Work();
  TDeflatedMember Deflate(TStream& Source, TCompressionLevel Level) const;
  void Forget(std::map<int, std::unique_ptr<TJob>>::iterator Job); // under FLock

  size_t FMaxJobs;
  mutable std::mutex FLock;
  std::condition_variable FChanged;
  std::deque<TJob*> FQueue;                   // offered, not started
  std::map<int, std::unique_ptr<TJob>> FJobs; // offered, not taken
  int64_t FHeld = 0;                          // the listed sizes of FJobs
  std::atomic<bool> FStop = false;
  std::vector<std::thread> FWorkers;
};

} // namespace qnl
