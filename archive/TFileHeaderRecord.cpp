// Little-endian field access on the 172-byte member header.
#include "archive/TFileHeaderRecord.h"

#include <cstring>

#include "rtl/ByteOrder.h"

namespace qnl {

int32_t TFileHeaderRecord::GetInt(int at) const { return static_cast<int32_t>(ReadLE32(&Bytes[at])); }

void TFileHeaderRecord::SetInt(int at, int32_t v) { WriteLE32(&Bytes[at], static_cast<uint32_t>(v)); }

TDateTime TFileHeaderRecord::FileDate() const { return ReadLEDouble(&Bytes[4]); }

void TFileHeaderRecord::SetFileDate(TDateTime v) { WriteLEDouble(&Bytes[4], v); }

std::string TFileHeaderRecord::GetShortString(int at, int capacity) const {
  // A damaged length byte cannot reach past the field.
  int len = Bytes[at] > capacity ? capacity : Bytes[at];
  return std::string(reinterpret_cast<const char*>(&Bytes[at + 1]), len);
}

void TFileHeaderRecord::SetShortString(int at, int capacity, const std::string& v) {
  int len = v.size() > size_t(capacity) ? capacity : int(v.size());
  Bytes[at] = uint8_t(len);
  std::memcpy(&Bytes[at + 1], v.data(), len);
  std::memset(&Bytes[at + 1 + len], 0, capacity - len);
}

} // namespace qnl
