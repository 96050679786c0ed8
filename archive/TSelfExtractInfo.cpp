// Encoding and decoding the self-extract trailer.
#include "archive/TSelfExtractInfo.h"

#include <algorithm>

#include "rtl/ByteOrder.h"

namespace qnl {

namespace {
constexpr int MarkerSize = 16;
} // namespace

std::string TSelfExtractInfo::Encode() const {
  std::string out(Size, '\0');
  size_t length = std::min<size_t>(Marker.size(), MarkerSize - 1);
  out[0] = static_cast<char>(length);
  std::copy_n(Marker.begin(), length, out.begin() + 1);
  WriteLE32(out, 16, static_cast<uint32_t>(SetupArchiveStart));
  WriteLE32(out, 20, static_cast<uint32_t>(SetupArchiveEnd));
  WriteLE32(out, 24, static_cast<uint32_t>(MainArchiveStart));
  WriteLE32(out, 28, static_cast<uint32_t>(MainArchiveEnd));
  return out;
}

TSelfExtractInfo TSelfExtractInfo::Decode(const std::string& Bytes) {
  TSelfExtractInfo info;
  if (Bytes.size() < static_cast<size_t>(Size)) return info;
  // A length byte beyond the 15 characters the field holds is cut to the field.
  size_t length = std::min<size_t>(static_cast<uint8_t>(Bytes[0]), MarkerSize - 1);
  info.Marker = Bytes.substr(1, length);
  info.SetupArchiveStart = static_cast<int32_t>(ReadLE32(Bytes, 16));
  info.SetupArchiveEnd = static_cast<int32_t>(ReadLE32(Bytes, 20));
  info.MainArchiveStart = static_cast<int32_t>(ReadLE32(Bytes, 24));
  info.MainArchiveEnd = static_cast<int32_t>(ReadLE32(Bytes, 28));
  return info;
}

} // namespace qnl
