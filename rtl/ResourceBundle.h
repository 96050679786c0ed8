// Named resources appended to a program file and found again from the file's end.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "rtl/Streams.h"

namespace qnl {

// A resource directory that is present but damaged.
QNL_EXCEPTION(EResourceError, EReadError);

// The layout, appended after the program's own bytes:
//   data of each resource, one after the other
//   directory: per resource a 1-byte name length, the name, its offset from the start of
//              the bundle and its size (each 8 bytes)
//   footer (32 bytes): "QNLRSRC1", resource count (4), directory size (4), bundle size
//              including the footer (8), reserved zero (8)
// A self-extract trailer (56 bytes starting with byte 14 and "SELFEXTRACTING" or
// "NOTSELFEXTRACT") may follow the bundle, and with a self-extracting trailer the
// archives it names lie between the bundle and the trailer.
struct TResourceEntry {
  std::string Name;
  int64_t Offset = 0; // in the file
  int64_t Size = 0;
};

class TResourceBundle {
public:
  // Reads the directory at the end of Stream, reading only the file's tail. Returns
  // std::nullopt when the file carries no resources; EResourceError when it carries a
  // damaged directory.
  static std::optional<TResourceBundle> Open(TStream& Stream);

  const std::vector<TResourceEntry>& Entries() const { return FEntries; }
  // The resource of that name (case-insensitive), or nullptr.
  const TResourceEntry* Find(std::string_view Name) const;
  // The bytes of a resource of this bundle.
  std::string Read(TStream& Stream, const TResourceEntry& Entry) const;
  // Where the program's own bytes end and the bundle starts.
  int64_t Start() const { return FStart; }

private:
  int64_t FStart = 0;
  std::vector<TResourceEntry> FEntries;
};

// The bundle bytes for these named resources, to append to a program file. Names are
// 1 to 255 characters and unique ignoring case (EResourceError otherwise).
std::string BuildResourceBundle(const std::vector<std::pair<std::string, std::string>>& Resources);

// The size of the self-extract trailer that may end a program file.
inline constexpr int64_t kSelfExtractTrailerSize = 56;

} // namespace qnl
