// Internal to platform/shelllink: the constants and byte layout of [MS-SHLLINK] files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "rtl/ByteOrder.h"

namespace qnl::shelllink {

constexpr uint32_t kHeaderSize = 0x4C;
// CLSID_ShellLink {00021401-0000-0000-C000-000000000046} as stored.
constexpr std::string_view kLinkClsid{"\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16};

// LinkFlags.
constexpr uint32_t HasLinkTargetIDList = 0x1;
constexpr uint32_t HasLinkInfo = 0x2;
constexpr uint32_t HasName = 0x4;
constexpr uint32_t HasRelativePath = 0x8;
constexpr uint32_t HasWorkingDir = 0x10;
constexpr uint32_t HasArguments = 0x20;
constexpr uint32_t HasIconLocation = 0x40;
constexpr uint32_t IsUnicode = 0x80;

// LinkInfoFlags.
constexpr uint32_t VolumeIDAndLocalBasePath = 0x1;
constexpr uint32_t kLinkInfoHeaderSize = 0x1C;

// Appends little-endian numbers and bytes.
class TByteWriter {
public:
  void U8(uint8_t Value) { FBytes.push_back(static_cast<char>(Value)); }
  void U16(uint16_t Value) { Number(Value, 2); }
  void U32(uint32_t Value) { Number(Value, 4); }
  void U64(uint64_t Value) { Number(Value, 8); }
  void Bytes(std::string_view Data) { FBytes.append(Data); }
  size_t Size() const { return FBytes.size(); }
  const std::string& Data() const { return FBytes; }

private:
  void Number(uint64_t Value, int Count) { AppendLE(FBytes, Value, Count); }
  std::string FBytes;
};

// The LinkTargetIDList (with its size field) and the LinkInfo of a target on a drive
// ("C:\dir\file"), described from what the machine holds at that path.
std::string TargetIDList(const std::string& Target);
std::string TargetLinkInfo(const std::string& Target);

// What the header says of an existing target; all zero when there is none.
struct TTargetFacts {
  uint32_t Attributes = 0;
  uint64_t CreationTime = 0; // FILETIME
  uint64_t AccessTime = 0;
  uint64_t WriteTime = 0;
  uint32_t Size = 0; // the low 32 bits
};
TTargetFacts InspectTarget(const std::string& Target);

} // namespace qnl::shelllink
