// The 172-byte on-disk record of one archive member.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "rtl/DateTime.h"

namespace qnl {

constexpr int kFileHeaderSize = 172;
constexpr int kTableHeadSize = 5;
constexpr int kMaxHeaderFileName = 100;
constexpr int kMaxHeaderFileVersion = 20;

// Always exactly the 172 little-endian bytes of a member header; the accessors decode and
// encode its fields in place, so bytes no field covers travel unchanged.
class TFileHeaderRecord {
public:
  TFileHeaderRecord() { Bytes.fill(0); }

  int32_t FileNumber() const { return GetInt(0); }
  void SetFileNumber(int32_t V) { SetInt(0, V); }
  TDateTime FileDate() const;
  void SetFileDate(TDateTime V);
  uint8_t LastDisk() const { return Bytes[12]; }
  void SetLastDisk(uint8_t V) { Bytes[12] = V; }
  int32_t LastByte() const { return GetInt(16); }
  void SetLastByte(int32_t V) { SetInt(16, V); }
  // One length byte and up to 100 characters; a longer value is cut.
  std::string FileName() const { return GetShortString(20, kMaxHeaderFileName); }
  void SetFileName(const std::string& V) { SetShortString(20, kMaxHeaderFileName, V); }
  int32_t NextHeader() const { return GetInt(124); }
  void SetNextHeader(int32_t V) { SetInt(124, V); }
  int32_t FileSize() const { return GetInt(128); }
  void SetFileSize(int32_t V) { SetInt(128, V); }
  int32_t DataStart() const { return GetInt(132); }
  void SetDataStart(int32_t V) { SetInt(132, V); }
  int32_t CompressedSize() const { return GetInt(136); }
  void SetCompressedSize(int32_t V) { SetInt(136, V); }
  uint8_t FirstDisk() const { return Bytes[140]; }
  void SetFirstDisk(uint8_t V) { Bytes[140] = V; }
  int32_t UniqueID() const { return GetInt(144); }
  void SetUniqueID(int32_t V) { SetInt(144, V); }
  // One length byte and up to 20 characters; a longer value is cut.
  std::string FileVersion() const { return GetShortString(148, kMaxHeaderFileVersion); }
  void SetFileVersion(const std::string& V) { SetShortString(148, kMaxHeaderFileVersion, V); }

  std::array<uint8_t, kFileHeaderSize> Bytes;

private:
  int32_t GetInt(int At) const;
  void SetInt(int At, int32_t V);
  std::string GetShortString(int At, int Capacity) const;
  void SetShortString(int At, int Capacity, const std::string& V);
};

} // namespace qnl
