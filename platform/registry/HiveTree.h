// The in-memory tree of one registry hive: keys with sorted subkeys and values.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qnl {

// Registry names are UTF-16, as Wine keeps them; they compare case-insensitively.
using TRegName = std::u16string;
using TRegPath = std::vector<TRegName>;

// The upper-case form used to compare names (ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic).
TRegName FoldRegName(std::u16string_view Name);

// One value: raw data as Windows stores it (text types are UTF-16LE with their NUL).
struct TValueNode {
  TRegName Name;
  uint32_t Type = 0;
  std::string Data;
};

// A key owns its subkeys and values; both are kept sorted by folded name, as Wine does.
struct TKeyNode {
  TRegName Name;
  uint64_t Modified = 0; // FILETIME: 100 ns ticks since 1601
  std::optional<TRegName> Class;
  bool Link = false;
  std::map<TRegName, std::unique_ptr<TKeyNode>> SubKeys; // by folded name
  std::map<TRegName, TValueNode> Values;                 // by folded name

  TKeyNode* FindSubKey(std::u16string_view Name) const;
  // The existing subkey of that name, or a new one stamped with `time`.
  TKeyNode* EnsureSubKey(std::u16string_view Name, uint64_t Time);
  const TValueNode* FindValue(std::u16string_view Name) const;
};

// Walks `path` below `root`; nullptr when a component is missing.
TKeyNode* FindKey(TKeyNode& Root, const TRegPath& Path);
const TKeyNode* FindKey(const TKeyNode& Root, const TRegPath& Path);
// Creates the missing components; each new key and the parent of the first gets `time`.
TKeyNode* EnsureKey(TKeyNode& Root, const TRegPath& Path, uint64_t Time);

// The current time as a FILETIME.
uint64_t FileTimeNow();
constexpr uint64_t kTicksPerSecond = 10000000ULL;
constexpr uint64_t kTicks1601To1970 = 116444736000000000ULL;

} // namespace qnl
