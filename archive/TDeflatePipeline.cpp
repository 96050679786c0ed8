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
  FAhead.reset(); // stops the workers; what they held goes with them
}

void TDeflatePipeline::TopUp(TCompressionLevel Level, const TOpen& Open) {
  if (FThreads <= 1) return;
  if (!FAhead && !FUpcoming.empty()) FAhead = std::make_unique<TDeflateAhead>(FThreads);
  while (!FUpcoming.empty() && FAhead->HasRoom(0)) {
    std::string path = std::move(FUpcoming.front());
    FUpcoming.pop_front();
    // One that cannot be opened or is too large is left to its turn, which reports or streams it.
    std::unique_ptr<TStream> source = Open(path);
    std::optional<TFileIdentity> identity = source ? ArchiveFiles::IdentityOf(*source) : std::nullopt;
    if (!identity || !FAhead->Fits(identity->Size)) continue;
    if (!FAhead->HasRoom(identity->Size)) {
      FUpcoming.push_front(std::move(path));
      break;
    }
    int ticket = FNextTicket++;
    FAhead->Offer(ticket, std::move(source), identity->Size, Level);
    FOffered.push_back({std::move(path), ticket, *identity, Level});
  }
}

std::optional<TDeflatedMember> TDeflatePipeline::TakeFor(const std::string& Path,
                                                         const std::optional<TFileIdentity>& Identity,
                                                         TCompressionLevel Level) {
  auto found = std::find_if(FOffered.begin(), FOffered.end(), [&](const TOffered& O) { return O.Path == Path; });
  if (found == FOffered.end()) return std::nullopt;
  // Those before it were not added where they were expected: excluded, or renamed by an event.
  for (auto skipped = FOffered.begin(); skipped != found; ++skipped) FAhead->Drop(skipped->Ticket);
  TOffered offered = std::move(*found);
  FOffered.erase(FOffered.begin(), found + 1);
  std::optional<TDeflatedMember> member = FAhead->Take(offered.Ticket);
  if (!member || !member->Ok || !Identity || *Identity != offered.Identity || Level != offered.Level)
    return std::nullopt;
  return member;
}

} // namespace qnl
