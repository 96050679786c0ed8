// Inflating ahead on worker threads.
#include "archive/TInflateAhead.h"

#include <algorithm>

#include "archive/ArchiveFiles.h"
#include "archive/EQnlfCompress.h"
#include "archive/TMemberInflater.h"

namespace qnl {

TInflateAhead::TInflateAhead(int Threads, std::unique_ptr<TStream> Archive, std::string ArchiveName,
                             TFileIdentity Identity)
    : FArchive(std::move(Archive)), FArchiveName(std::move(ArchiveName)), FIdentity(Identity),
      FWork(Threads, kMaxMembers, kBudget) {}

bool TInflateAhead::Reads(const std::string& Name, const std::optional<TFileIdentity>& Identity) const {
  return Identity && *Identity == FIdentity && Name == FArchiveName;
}

std::optional<TInflatedMember> TInflateAhead::Take(int Index) {
  while (!FOffered.empty() && FOffered.front() < Index) {
    FWork.Drop(FOffered.front());
    FOffered.pop_front();
  }
  FNext = std::max(FNext, Index + 1);
  if (FOffered.empty() || FOffered.front() != Index) return std::nullopt;
  FOffered.pop_front();
  std::optional<TInflatedMember> member = FWork.Take(Index);
  if (member && !member->Ok) return std::nullopt;
  return member;
}

void TInflateAhead::TopUp(int Count, const TPlaceOf& PlaceOf) {
  for (; FNext < Count; ++FNext) {
    std::optional<TMemberPlace> place = PlaceOf(FNext);
    if (!place || place->FileSize < kSmallestMember || place->FileSize > kLargestMember) continue;
    if (!FWork.HasRoom(place->FileSize)) return;
    FWork.Offer(FNext, place->FileSize,
                [archive = FArchive, name = FArchiveName, place = *place](const std::atomic<bool>& Stop) {
                  return Inflate(*archive, name, place, Stop);
                });
    FOffered.push_back(FNext);
  }
}

TInflatedMember TInflateAhead::Inflate(const TStream& Archive, const std::string& ArchiveName,
                                       const TMemberPlace& Place, const std::atomic<bool>& Stop) {
  TInflatedMember result;
  try {
    TMemberInflater inflater(Place.FileName, ArchiveName);
    int64_t position = Place.Start;
    auto read = [&](unsigned char* Buffer, int64_t Count) -> int64_t {
      int64_t want = std::min(Count, Place.End - position);
      if (want <= 0) return 0;
      int64_t n = ArchiveFiles::ReadAt(Archive, Buffer, want, position);
      position += n;
      return n;
    };
    result.Data.reserve(static_cast<size_t>(Place.FileSize));
    unsigned char block[TMemberInflater::kBlock];
    for (;;) {
      if (Stop) return {};
      size_t n = inflater.Next(block, read);
      if (n == 0) break;
      result.Data.append(reinterpret_cast<const char*>(block), n);
      result.Blocks.push_back(static_cast<uint32_t>(n));
      // More than the header announces: extraction stops with an error at this block.
      if (static_cast<int64_t>(result.Data.size()) > Place.FileSize) break;
    }
    result.Ended = inflater.Ended();
  } catch (const EQnlfCompress&) {
    result.Damage = std::current_exception();
  } catch (...) {
    // A read error or memory: extraction reads the member itself and meets the error, if any,
    // where it would have met it.
    return {};
  }
  result.Ok = true;
  return result;
}

} // namespace qnl
