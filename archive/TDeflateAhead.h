// Deflating the next members of an archive build on worker threads while the builder writes
// the current one.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/TCompressionStream.h"
#include "archive/TWorkAhead.h"
#include "rtl/Streams.h"

namespace qnl {

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
  static TDeflatedMember Deflate(TStream& Source, TCompressionLevel Level, const std::atomic<bool>& Stop);

  TWorkAhead<TDeflatedMember> FWork;
};

} // namespace qnl
