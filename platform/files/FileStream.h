// A stream over a file named by its Windows path.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "rtl/Streams.h"

namespace qnl {

// Open modes, combined with one sharing mode, as the run-time library spells them.
constexpr uint16_t fmCreate = 0xFF00; // create or truncate, read and write
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmShareCompat = 0x0000;
constexpr uint16_t fmShareExclusive = 0x0010; // holds an exclusive lock: others see the file in use
constexpr uint16_t fmShareDenyWrite = 0x0020; // holds a shared lock: deleting the file fails
constexpr uint16_t fmShareDenyRead = 0x0030;  // treated as fmShareExclusive
constexpr uint16_t fmShareDenyNone = 0x0040;

// What tells one state of a file from another: the same file (device, inode) with the same
// size and modification and change times has not been written in between.
struct TFileIdentity {
  uint64_t Device = 0, Inode = 0;
  int64_t Size = 0, ModifiedNs = 0, ChangedNs = 0;
  bool operator==(const TFileIdentity&) const = default;
};

// An open file; the handle is closed by the destructor. Failures raise EInOutError naming
// the file (EDiskFull when a write finds the disk full, EFileInUse when a sharing mode
// cannot be had because another holder locks the file).
class TFileStream : public TStream {
  QNL_CLASS(TFileStream, TStream)
public:
  TFileStream(const std::string& FileName, uint16_t Mode);
  ~TFileStream() override;

  int64_t Read(void* Buffer, int64_t Count) override;
  // Reads at Offset without moving the position; several threads may read so at once.
  int64_t ReadAt(void* Buffer, int64_t Count, int64_t Offset) const;
  // Writes all of Count bytes or raises; a full disk is EDiskFull.
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() const override;
  void SetSize(int64_t NewSize) override;
  // Makes the written bytes durable (fsync).
  void Flush();
  TFileIdentity Identity() const;
  // The identity the file had when it was opened for reading: no second look at it. Opened for
  // writing, its identity now.
  TFileIdentity OpenedIdentity() const { return FOpened ? *FOpened : Identity(); }
  // The Windows path the stream was opened with.
  const std::string& FileName() const { return FFileName; }

private:
  std::string FFileName;
  int FHandle = -1;
  int64_t FPos = 0; // the handle's offset, kept here; reads and writes move it as they go
  std::optional<TFileIdentity> FOpened;
};

} // namespace qnl
