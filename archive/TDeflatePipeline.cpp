// The files a build is about to add, deflated ahead on the other cores across Add calls.
#include "archive/TDeflatePipeline.h"

#include <algorithm>

#include "archive/ArchiveFiles.h"

namespace qnl {

TDeflatePipeline::TDeflatePipeline() : FThreads(ArchiveThreads()) {}

TDeflatePipeline::~TDeflatePipeline() = default;

void TDeflatePipeline::Expect(const std::vector<std::string>& Paths) {
  if (FThreads > 1) FUpcoming.insert(FUpcoming.end(), Paths.begin(), Paths.end());
}

void TDeflatePipeline::ExpectNow(const std::vector<std::string>& Paths) {
  if (FThreads <= 1 || Paths.empty()) return;
  auto offered = [&](const std::string& Path) {
    return std::any_of(FOffered.begin(), FOffered.end(), [&](const TOffered& O) { return O.Path == Path; });
  };
  // Announced before (the engine's case): the first of them is offered or next in line.
  if (offered(Paths.front()) || (!FUpcoming.empty() && FUpcoming.front() == Paths.front())) return;
  FUpcoming.insert(FUpcoming.begin(), Paths.begin(), Paths.end());
}

void TDeflatePipeline::Clear() {
  FUpcoming.clear();
  FOffered.clear();
  FCurrent.reset();
  FAhead.reset(); // stops the workers; what they held goes with them
}

bool TDeflatePipeline::OfferChunk(TOffered& Member, bool Always) {
  int64_t length = std::min(kDeflateChunk, Member.Identity.Size - Member.NextOffset);
  if (!Always && !FAhead->HasRoom(length)) return false;
  // The cut falls every kDeflateChunk bytes; the last chunk is the rest, empty at a multiple.
  bool last = length < kDeflateChunk;
  int ticket = FNextTicket++;
  FAhead->OfferChunk(ticket, Member.Source, Member.NextOffset, length, last, Member.Level);
  Member.Tickets.push_back(ticket);
  Member.NextOffset += length;
  if (last) {
    Member.AllOffered = true;
    Member.Source.reset();
  }
  return true;
}

void TDeflatePipeline::TopUp(TCompressionLevel Level, const TOpen& Open) {
  if (FThreads <= 1) return;
  if (!FAhead && !FUpcoming.empty()) FAhead = std::make_unique<TDeflateAhead>(FThreads);
  if (!FAhead) return;
  FLevel = Level;
  // A large member is offered to its end before the files behind it, so that jobs are taken in
  // the order they are queued.
  TOffered* unfinished = FCurrent && !FCurrent->AllOffered ? &*FCurrent : nullptr;
  if (!unfinished && !FOffered.empty() && !FOffered.back().AllOffered) unfinished = &FOffered.back();
  if (unfinished)
    while (!unfinished->AllOffered)
      if (!OfferChunk(*unfinished)) return;
  while (!FUpcoming.empty() && FAhead->HasRoom(0)) {
    std::string path = std::move(FUpcoming.front());
    FUpcoming.pop_front();
    // One that cannot be opened is left to its turn, which reports it.
    std::unique_ptr<TStream> source = Open(path);
    std::optional<TFileIdentity> identity = source ? ArchiveFiles::OpenedIdentityOf(*source) : std::nullopt;
    if (!identity) continue;
    if (!TDeflateAhead::Whole(identity->Size)) {
      TOffered& member = FOffered.emplace_back(TOffered{std::move(path), {}, *identity, Level, std::move(source)});
      member.AllOffered = false;
      while (!member.AllOffered)
        if (!OfferChunk(member)) return;
      continue;
    }
    if (!FAhead->HasRoom(identity->Size)) {
      FUpcoming.push_front(std::move(path));
      break;
    }
    int ticket = FNextTicket++;
    FAhead->Offer(ticket, std::move(source), identity->Size, Level);
    FOffered.push_back({std::move(path), {ticket}, *identity, Level});
  }
}

void TDeflatePipeline::DropJobs(TOffered& Member) {
  for (int ticket : Member.Tickets) FAhead->Drop(ticket);
  Member.Tickets.clear();
}

std::optional<TDeflatedMember> TDeflatePipeline::TakeFor(const std::string& Path,
                                                         const std::optional<TFileIdentity>& Identity,
                                                         TCompressionLevel Level, bool* Chunked) {
  if (Chunked) *Chunked = false;
  EndChunked();
  auto found = std::find_if(FOffered.begin(), FOffered.end(), [&](const TOffered& O) { return O.Path == Path; });
  if (found == FOffered.end()) return std::nullopt;
  // Those before it were not added where they were expected: excluded, or renamed by an event.
  for (auto skipped = FOffered.begin(); skipped != found; ++skipped) DropJobs(*skipped);
  TOffered offered = std::move(*found);
  FOffered.erase(FOffered.begin(), found + 1);
  bool same = Identity && *Identity == offered.Identity && Level == offered.Level;
  if (!TDeflateAhead::Whole(offered.Identity.Size)) {
    // Chunked: its chunks are taken one by one as the builder writes them.
    if (!same || !Chunked) {
      DropJobs(offered);
      return std::nullopt;
    }
    *Chunked = true;
    FCurrent = std::move(offered);
    return TDeflatedMember{};
  }
  std::optional<TDeflatedMember> member = FAhead->Take(offered.Tickets.front());
  if (!member || !member->Ok || !same) return std::nullopt;
  return member;
}

TDeflatedPart TDeflatePipeline::NextChunk(const TOpen& Open) {
  if (!FCurrent) return {};
  TopUp(FLevel, Open);
  // Jobs given up but still running may hold the room this member's next chunk needs.
  if (FCurrent->Tickets.empty() && !FCurrent->AllOffered) OfferChunk(*FCurrent, true);
  if (FCurrent->Tickets.empty()) return {};
  int ticket = FCurrent->Tickets.front();
  FCurrent->Tickets.pop_front();
  TDeflatedPart part = FAhead->TakeChunk(ticket);
  if (!part.Ok || part.Chunk.Last) EndChunked();
  return part;
}

void TDeflatePipeline::EndChunked() {
  if (!FCurrent) return;
  DropJobs(*FCurrent);
  FCurrent.reset();
}

} // namespace qnl
