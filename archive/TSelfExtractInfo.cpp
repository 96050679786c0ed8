// Encoding and decoding the self-extract trailer.
#include "archive/TSelfExtractInfo.h"

#include <algorithm>

namespace qnl {

namespace {
constexpr int MarkerSize = 16;

void PutInt32(std::string& out, int offset, int32_t value) {
  auto v = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) out[offset + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

int32_t GetInt32(const std::string& in, int offset) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<uint8_t>(in[offset + i])) << (8 * i);
  return static_cast<int32_t>(v);
}
} // namespace

std::string TSelfExtractInfo::Encode() const {
  std::string out(Size, '\0');
  size_t length = std::min<size_t>(Marker.size(), MarkerSize - 1);
  out[0] = static_cast<char>(length);
  std::copy_n(Marker.begin(), length, out.begin() + 1);
  PutInt32(out, 16, SetupArchiveStart);
  PutInt32(out, 20, SetupArchiveEnd);
  PutInt32(out, 24, MainArchiveStart);
  PutInt32(out, 28, MainArchiveEnd);
  return out;
}

TSelfExtractInfo TSelfExtractInfo::Decode(const std::string& Bytes) {
  TSelfExtractInfo info;
  if (Bytes.size() < static_cast<size_t>(Size)) return info;
  // A length byte beyond the 15 characters the field holds is cut to the field.
  size_t length = std::min<size_t>(static_cast<uint8_t>(Bytes[0]), MarkerSize - 1);
  info.Marker = Bytes.substr(1, length);
  info.SetupArchiveStart = GetInt32(Bytes, 16);
  info.SetupArchiveEnd = GetInt32(Bytes, 20);
  info.MainArchiveStart = GetInt32(Bytes, 24);
  info.MainArchiveEnd = GetInt32(Bytes, 28);
  return info;
}

} // namespace qnl
