// Writing members ahead on worker threads.
#include "archive/TInflateAhead.h"

#include <algorithm>

#include "archive/ArchiveFiles.h"
#include "archive/EQnlfCompress.h"
#include "archive/PartialFiles.h"
#include "archive/TMemberInflater.h"
#include "platform/files/FilesAhead.h"
#include "rtl/SysUtils.h"

namespace qnl {

TPartialFileAhead::TPartialFileAhead(std::string HostPath, const std::string& Dir) : FHostPath(std::move(HostPath)) {
  // Named from its directory's Windows form: mapping the host path back would resolve every
  // link along it and list the machine's drives, for each file.
  if (!FHostPath.empty()) FWindowsPath = AddBackSlash(Dir) + FHostPath.substr(FHostPath.rfind('/') + 1);
}

TPartialFileAhead::~TPartialFileAhead() {
  if (!FHostPath.empty()) RemoveHostFile(FHostPath);
}

TPartialFileAhead& TPartialFileAhead::operator=(TPartialFileAhead&& Other) noexcept {
  if (this != &Other) {
    if (!FHostPath.empty()) RemoveHostFile(FHostPath);
    FHostPath = std::move(Other.FHostPath);
    FWindowsPath = std::move(Other.FWindowsPath);
    Other.FHostPath.clear();
  }
  return *this;
}

bool TPartialFileAhead::PutInPlace(const std::string& Target, std::string& Reason) {
  // The same replace as for a partial file written at its turn.
  if (!ArchiveFiles::ReplaceHostFile(FHostPath, FWindowsPath, Target, &Reason)) return false;
  FHostPath.clear();
  return true;
}

TInflateAhead::TMadeDirectories::~TMadeDirectories() {
  // Inner ones first, so that an outer one made only for them is empty by its turn.
  for (auto dir = FDirs.rbegin(); dir != FDirs.rend(); ++dir) RemoveEmptyHostDirectory(*dir);
}

void TInflateAhead::TMadeDirectories::Add(const std::vector<std::string>& Dirs) {
  std::lock_guard lock(FLock);
  FDirs.insert(FDirs.end(), Dirs.begin(), Dirs.end());
}

TInflateAhead::TInflateAhead(int Threads, std::unique_ptr<TStream> Archive, std::string ArchiveName,
                             TFileIdentity Identity)
    : FArchive(std::move(Archive)), FArchiveName(std::move(ArchiveName)), FIdentity(Identity),
      FWork(Threads, kMaxMembers, kBytesAhead) {}

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
    if (!place) continue;
    if (!FWork.HasRoom(place->FileSize)) return;
    FWork.Offer(FNext, place->FileSize,
                [archive = FArchive, name = FArchiveName, place = std::move(*place),
                 made = &FMade](const std::atomic<bool>& Stop) { return Write(*archive, name, place, *made, Stop); });
    FOffered.push_back(FNext);
  }
}

TInflatedMember TInflateAhead::Write(const TStream& Archive, const std::string& ArchiveName, const TMemberPlace& Place,
                                     TMadeDirectories& Made, const std::atomic<bool>& Stop) {
  // Any failure here (a directory that cannot be made, a full disk, a read error) leaves the
  // member to extraction, which meets the error, if any, where it would have met it.
  std::vector<std::string> madeDirs;
  bool dirReady = MakeHostDirectories(Place.HostDir, madeDirs);
  Made.Add(madeDirs);
  if (!dirReady || Stop) return {};
  THostFileAhead file;
  TInflatedMember result;
  result.File = TPartialFileAhead(PartialFiles::CreateInHostDirectory(Place.HostDir, file), Place.Dir);
  if (result.File.HostPath().empty()) return {};
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
    std::vector<unsigned char> buffer(kWriteSize);
    size_t filled = 0;
    auto flush = [&] {
      if (filled > 0 && !file.Write(buffer.data(), filled)) return false;
      result.Written += static_cast<int64_t>(filled);
      filled = 0;
      return true;
    };
    try {
      for (;;) {
        if (Stop) return {};
        if (buffer.size() - filled < TMemberInflater::kBlock && !flush()) return {};
        size_t n = inflater.Next(buffer.data() + filled, read);
        if (n == 0) break;
        result.Blocks.push_back(static_cast<uint32_t>(n));
        // More than the header announces: extraction stops with an error at this block.
        if (result.Written + static_cast<int64_t>(filled + n) > Place.FileSize) break;
        filled += n;
      }
      result.Ended = inflater.Ended();
    } catch (const EQnlfCompress&) {
      result.Damage = std::current_exception();
    }
    if (!flush() || !file.Finish(Place.Date)) return {};
  } catch (...) {
    return {};
  }
  result.Dir = Place.Dir;
  result.Ok = true;
  return result;
}

} // namespace qnl
