// Little-endian field access on the 172-byte member header.
#include "archive/TFileHeaderRecord.h"

#include <cstring>

#include "rtl/ByteOrder.h"

namespace qnl {

int32_t TFileHeaderRecord::GetInt(int At) const { return static_cast<int32_t>(ReadLE32(&Bytes[At])); }

void TFileHeaderRecord::SetInt(int At, int32_t V) { WriteLE32(&Bytes[At], static_cast<uint32_t>(V)); }

TDateTime TFileHeaderRecord::FileDate() const { return ReadLEDouble(&Bytes[4]); }

void TFileHeaderRecord::SetFileDate(TDateTime V) { WriteLEDouble(&Bytes[4], V); }

std::string TFileHeaderRecord::GetShortString(int At, int Capacity) const {
  // A damaged length byte cannot reach past the field.
  int len = Bytes[At] > Capacity ? Capacity : Bytes[At];
  return std::string(reinterpret_cast<const char*>(&Bytes[At + 1]), len);
}

void TFileHeaderRecord::SetShortString(int At, int Capacity, const std::string& V) {
  int len = V.size() > size_t(Capacity) ? Capacity : int(V.size());
  Bytes[At] = uint8_t(len);
  std::memcpy(&Bytes[At + 1], V.data(), len);
  std::memset(&Bytes[At + 1 + len], 0, Capacity - len);
}

} // namespace qnl
