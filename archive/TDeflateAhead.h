// Deflating the next members of an archive build on worker threads while the builder writes
// the current one.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/DeflateChunks.h"
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

// One chunk of a large member deflated ahead. Not Ok: the file no longer had the chunk's bytes
// (it changed), or reading it raised Error.
struct TDeflatedPart {
  bool Ok = false;
  TDeflatedChunk Chunk;
  std::exception_ptr Error;
};

// Workers that deflate offered members, or chunks of a large member, in the order offered.
// Deflating is deterministic, so a member comes out byte for byte as the builder would make it.
// Memory is bounded: a job is offered only while the input of the jobs held stays under a
// budget; a large member is offered chunk by chunk as room frees up.
class TDeflateAhead {
public:
  explicit TDeflateAhead(int Threads);

  // Whether a job of Size input bytes would be taken now.
  bool HasRoom(int64_t Size) const;
  // Whether a member of Size bytes is deflated whole by one worker rather than in chunks.
  static bool Whole(int64_t Size) { return Size <= kLargestWhole; }
  // Queues a whole member under Ticket, read from Source, Size bytes as listed, at Level.
  void Offer(int Ticket, std::unique_ptr<TStream> Source, int64_t Size, TCompressionLevel Level);
  // Queues the chunk of Source at Offset, Length bytes, read with its window.
  void OfferChunk(int Ticket, std::shared_ptr<const TStream> Source, int64_t Offset, int64_t Length, bool Last,
                  TCompressionLevel Level);
  // Waits for the member of Ticket; nullopt when it was not offered.
  std::optional<TDeflatedMember> Take(int Ticket);
  // Waits for the chunk of Ticket.
  TDeflatedPart TakeChunk(int Ticket);
  // Gives up the job of Ticket without waiting for it.
  void Drop(int Ticket);

  static constexpr int64_t kLargestWhole = 1 << 20;
  static constexpr int64_t kBudget = 32 << 20;

private:
  struct TResult {
    TDeflatedMember Member;
    TDeflatedPart Part;
  };
  static TDeflatedMember Deflate(TStream& Source, TCompressionLevel Level, const std::atomic<bool>& Stop);
  static TDeflatedPart DeflatePart(const TStream& Source, int64_t Offset, int64_t Length, bool Last,
                                   TCompressionLevel Level);

  TWorkAhead<TResult> FWork;
};

} // namespace qnl
