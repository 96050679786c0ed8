// Inflating the next members of an archive on worker threads while extraction writes the
// current one.
#pragma once

#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/TWorkAhead.h"
#include "platform/files/FileStream.h"
#include "rtl/Streams.h"

namespace qnl {

// A member inflated ahead: its blocks as extraction would inflate them, and what ended them.
struct TInflatedMember {
  bool Ok = false; // false: the archive could not be read; extraction reads the member itself
  std::string Data;
  std::vector<uint32_t> Blocks; // the length of each block in Data
  bool Ended = false;           // the zlib stream ended
  std::exception_ptr Damage;    // the damage met after the blocks, raised at the member's turn
};

// Where a member lies in the archive file, for a worker to read it.
struct TMemberPlace {
  int64_t Start = 0, End = 0; // its compressed bytes, End excluded
  int64_t FileSize = 0;       // as its header gives it
  std::string FileName;       // for the messages
};

// The members of one archive file after the one being extracted, inflated in archive order on
// worker threads (an installation takes them in that order, skipping some). The workers read
// through their own handle at given positions, never at the extracting thread's file position.
// Memory is bounded: members larger than kLargestMember are left to extraction, which streams
// them, and the members held stay under kBudget and kMaxMembers. Members smaller than
// kSmallestMember cost less to inflate than to hand from one thread to another: extraction
// inflates them itself.
class TInflateAhead {
public:
  // Where member Index lies; nullopt for one not to be read ahead.
  using TPlaceOf = std::function<std::optional<TMemberPlace>(int Index)>;

  // Archive is opened for reading the file named ArchiveName, as it is now (Identity).
  TInflateAhead(int Threads, std::unique_ptr<TStream> Archive, std::string ArchiveName, TFileIdentity Identity);

  // Whether the workers read the archive file Name as it is (Identity).
  bool Reads(const std::string& Name, const std::optional<TFileIdentity>& Identity) const;
  const TFileIdentity& Identity() const { return FIdentity; }
  // The member Index inflated ahead, waiting for it; nullopt when it was not offered. The
  // members offered before it were skipped and are dropped.
  std::optional<TInflatedMember> Take(int Index);
  // Offers the members after the last one taken, up to Count, while there is room.
  void TopUp(int Count, const TPlaceOf& PlaceOf);

  static constexpr int64_t kSmallestMember = 32 << 10;
  static constexpr int64_t kLargestMember = 4 << 20;
  // With the member being written and what the workers' heaps keep, an installation stays
  // well under 64 MiB.
  static constexpr int64_t kBudget = 16 << 20;
  static constexpr size_t kMaxMembers = 16;

private:
  static TInflatedMember Inflate(const TStream& Archive, const std::string& ArchiveName, const TMemberPlace& Place,
                                 const std::atomic<bool>& Stop);

  std::shared_ptr<const TStream> FArchive;
  std::string FArchiveName;
  TFileIdentity FIdentity;
  int FNext = 0;
  std::deque<int> FOffered; // ascending
  TWorkAhead<TInflatedMember> FWork;
};

} // namespace qnl
