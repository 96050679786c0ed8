// Wine's registry text format ("WINE REGISTRY Version 2"): parsing and writing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/HiveTree.h"

namespace qnl {

// A parsed hive: the lines before the first key (comment, "#arch=") and the key tree.
struct THiveText {
  std::vector<std::string> HeaderLines;
  std::unique_ptr<TKeyNode> Root;
};

// Parses a hive. Anything Wine would not load faithfully raises EHiveDamaged
// "Damaged registry file "<fileName>", line N: <what>".
THiveText ParseHiveText(std::string_view Text, const std::string& FileName);

// Writes the hive exactly as Wine saves one: keys depth first in sorted order, a key
// written only when it has values, no subkeys, a class or the link flag.
std::string FormatHiveText(const TKeyNode& Root, const std::vector<std::string>& HeaderLines);

// A name or string in Wine's escaped form (`special` are the two extra characters to escape).
// The terminating NUL of string data is left out; a name keeps every character, so that a
// name ending in NUL (which Wine would shorten) reads back the same.
enum class TEscapeKind { ekName, ekData };
std::string EscapeRegString(std::u16string_view Text, const char* Special, TEscapeKind Kind = TEscapeKind::ekName);

} // namespace qnl
