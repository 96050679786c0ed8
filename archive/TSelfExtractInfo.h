// The 56-byte trailer at the end of a setup program made by the build.
#pragma once

#include <cstdint>
#include <string>

namespace qnl {

// The two markers of the trailer.
inline constexpr const char* kSelfExtractingMarker = "SELFEXTRACTING";
inline constexpr const char* kNotSelfExtractMarker = "NOTSELFEXTRACT";

// The trailer's fields; all integers are little-endian signed 32-bit in the file.
// Marker is "SELFEXTRACTING" for a self-extracting setup, "NOTSELFEXTRACT" for a loading
// program whose archives lie beside it; the other fields are file positions (ends inclusive).
struct TSelfExtractInfo {
  static constexpr int Size = 56;
  std::string Marker;
  int32_t SetupArchiveStart = 0;
  int32_t SetupArchiveEnd = 0;
  int32_t MainArchiveStart = 0;
  int32_t MainArchiveEnd = 0;

  // Exactly Size bytes: the marker as a length-prefixed string in 16 bytes (longer markers
  // are cut to 15 characters), the four positions, then 24 reserved zero bytes.
  std::string Encode() const;
  // Decodes Size bytes as they stand; the marker is not checked.
  static TSelfExtractInfo Decode(const std::string& Bytes);
};

} // namespace qnl
