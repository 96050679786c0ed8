// The files a build is about to add, deflated ahead on the other cores across Add calls.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/TCompressionStream.h"
#include "archive/TDeflateAhead.h"
#include "platform/files/FileStream.h"

namespace qnl {

// The engine adds one file per Add, with the project's events in between, which may even
// rewrite or exclude the next file. So what is announced is a hint: a member deflated ahead is
// used only when its file is still the one that was read (same identity) at the same level;
// anything else is deflated by the builder as before. With one thread nothing is done ahead.
class TDeflatePipeline {
public:
  using TOpen = std::function<std::unique_ptr<TStream>(const std::string& Path)>;

  TDeflatePipeline();
  ~TDeflatePipeline();
  TDeflatePipeline(const TDeflatePipeline&) = delete;
  TDeflatePipeline& operator=(const TDeflatePipeline&) = delete;

  // The source files to be added after those already expected, in order.
  void Expect(const std::vector<std::string>& Paths);
  // The files one Add is about to take, in order, when they were not expected already.
  void ExpectNow(const std::vector<std::string>& Paths);
  // Forgets what was expected and drops what was deflated ahead.
  void Clear();
  // Opens and offers expected files while the workers have room.
  void TopUp(TCompressionLevel Level, const TOpen& Open);
  // What was deflated ahead from Path when it was read from the file as it is now (Identity)
  // at Level; what was offered before it is dropped. A large member comes in chunks: its
  // result has Chunked set and no data, and NextChunk gives its chunks in order.
  std::optional<TDeflatedMember> TakeFor(const std::string& Path, const std::optional<TFileIdentity>& Identity,
                                         TCompressionLevel Level, bool* Chunked = nullptr);
  // The next chunk of the member TakeFor gave as chunked, once the workers have it; tops up
  // first, as the chunks still to come may not be offered yet.
  TDeflatedPart NextChunk(const TOpen& Open);
  // The chunked member is over, written or not: its jobs still queued are dropped.
  void EndChunked();

private:
  struct TOffered {
    std::string Path;
    std::deque<int> Tickets; // offered and not taken
    TFileIdentity Identity;
    TCompressionLevel Level = colMax;
    // A large member: its file, shared by its chunk jobs, and where its next chunk starts.
    std::shared_ptr<const TStream> Source;
    int64_t NextOffset = 0;
    bool AllOffered = true;
  };
  // Offers the next chunk of Member; false when there is no room, unless Always.
  bool OfferChunk(TOffered& Member, bool Always = false);
  void DropJobs(TOffered& Member);

  int FThreads;
  std::unique_ptr<TDeflateAhead> FAhead;
  std::deque<std::string> FUpcoming;
  std::deque<TOffered> FOffered;
  // The chunked member being written, taken out of FOffered by TakeFor.
  std::optional<TOffered> FCurrent;
  TCompressionLevel FLevel = colMax;
  int FNextTicket = 0;
};

} // namespace qnl
