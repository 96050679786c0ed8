// Little-endian field access on the 172-byte member header.
#include "archive/TFileHeaderRecord.h"

#include <cstring>

namespace qnl {

int32_t TFileHeaderRecord::GetInt(int at) const {
  uint32_t v = uint32_t(Bytes[at]) | uint32_t(Bytes[at + 1]) << 8 | uint32_t(Bytes[at + 2]) << 16 |
               uint32_t(Bytes[at + 3]) << 24;
  return static_cast<int32_t>(v);
}

void TFileHeaderRecord::SetInt(int at, int32_t v) {
  uint32_t u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) Bytes[at + i] = uint8_t(u >> (8 * i));
}

TDateTime TFileHeaderRecord::FileDate() const {
  uint64_t u = 0;
  for (int i = 7; i >= 0; --i) u = (u << 8) | Bytes[4 + i];
  double d;
  std::memcpy(&d, &u, sizeof d);
  return d;
}

void TFileHeaderRecord::SetFileDate(TDateTime v) {
  uint64_t u;
  std::memcpy(&u, &v, sizeof u);
  for (int i = 0; i < 8; ++i) Bytes[4 + i] = uint8_t(u >> (8 * i));
}

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
