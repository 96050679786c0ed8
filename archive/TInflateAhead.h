// Writing the next members of an archive into partial files beside their targets on worker
// threads, while extraction takes care of the current one.
#pragma once

#include <cstdint>
#include <ctime>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "archive/TWorkAhead.h"
#include "platform/files/FileStream.h"
#include "rtl/Streams.h"

namespace qnl {

// A partial file written ahead; removed with its owner unless it was put in its target's place.
class TPartialFileAhead {
public:
  TPartialFileAhead() = default;
  // HostPath lies in the host form of the Windows directory Dir.
  TPartialFileAhead(std::string HostPath, const std::string& Dir);
  ~TPartialFileAhead();
  TPartialFileAhead(TPartialFileAhead&& Other) noexcept
      : FHostPath(std::move(Other.FHostPath)), FWindowsPath(std::move(Other.FWindowsPath)) {
    Other.FHostPath.clear();
  }
  TPartialFileAhead& operator=(TPartialFileAhead&& Other) noexcept;

  const std::string& HostPath() const { return FHostPath; }
  // Renames the file over Target (a Windows path), replacing it unless another program holds
  // it; false with the reason on failure, and the file is still owned.
  bool PutInPlace(const std::string& Target, std::string& Reason);

private:
  std::string FHostPath;
  std::string FWindowsPath;
};

// A member written ahead: the blocks extraction would have written, and what ended them.
struct TInflatedMember {
  bool Ok = false; // false: extraction writes the member itself and meets any error there
  std::string Dir; // the Windows directory it was written in
  TPartialFileAhead File;
  std::vector<uint32_t> Blocks; // the length of each block, as inflating at its turn gives them
  int64_t Written = 0;          // the bytes in File
  bool Ended = false;           // the zlib stream ended
  std::exception_ptr Damage;    // the damage met after the blocks, raised at the member's turn
};

// Where a member lies in the archive file and where it goes, for a worker.
struct TMemberPlace {
  int64_t Start = 0, End = 0; // its compressed bytes, End excluded
  int64_t FileSize = 0;       // as its header gives it
  std::string FileName;       // for the messages
  std::string Dir, HostDir;   // its target's directory, as a Windows and as a host path
  struct timespec Date {};    // its date as a host file time
};

// The members of one archive file after the one being extracted, written in archive order on
// worker threads into partial files in their targets' directories (an installation takes them
// in that order, skipping some). The workers read through their own handle at given positions,
// never at the extracting thread's file position. What is written ahead is bounded by a count
// and by bytes on disk, not by memory. A worker makes a missing target directory; the ones
// still empty when the work ends are removed, as are the partial files not taken.
class TInflateAhead {
public:
  // Where member Index lies and goes; nullopt for one not to be written ahead.
  using TPlaceOf = std::function<std::optional<TMemberPlace>(int Index)>;

  // Archive is opened for reading the file named ArchiveName, as it is now (Identity).
  TInflateAhead(int Threads, std::unique_ptr<TStream> Archive, std::string ArchiveName, TFileIdentity Identity);

  // Whether the workers read the archive file Name as it is (Identity).
  bool Reads(const std::string& Name, const std::optional<TFileIdentity>& Identity) const;
  const TFileIdentity& Identity() const { return FIdentity; }
  // The member Index written ahead, waiting for it; nullopt when it was not offered or could
  // not be written. The members offered before it were skipped and are dropped.
  std::optional<TInflatedMember> Take(int Index);
  // Offers the members after the last one taken, up to Count, while there is room.
  void TopUp(int Count, const TPlaceOf& PlaceOf);

  static constexpr int64_t kBytesAhead = 64 << 20;
  static constexpr size_t kMaxMembers = 32;
  static constexpr size_t kWriteSize = 256 << 10;

private:
  // The directories the workers made, removed at the end when they are still empty.
  class TMadeDirectories {
  public:
    ~TMadeDirectories();
    void Add(const std::vector<std::string>& Dirs);

  private:
    std::mutex FLock;
    std::vector<std::string> FDirs; // outer ones before inner ones
  };

  static TInflatedMember Write(const TStream& Archive, const std::string& ArchiveName, const TMemberPlace& Place,
                               TMadeDirectories& Made, const std::atomic<bool>& Stop);

  std::shared_ptr<const TStream> FArchive;
  std::string FArchiveName;
  TFileIdentity FIdentity;
  int FNext = 0;
  std::deque<int> FOffered; // ascending
  TMadeDirectories FMade;   // outlives the workers
  TWorkAhead<TInflatedMember> FWork;
};

} // namespace qnl
