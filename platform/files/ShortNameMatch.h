// Internal to platform/files: short names of Unix directory entries, for path lookup.
#pragma once

#include <string>
#include <string_view>

namespace qnl::detail {

// The short name Wine gives the Unix entry name utf8 (the name itself when it is a legal 8.3 name).
std::string ShortNameOfUnixEntry(std::string_view Utf8);
// True when utf8 is a legal 8.3 name.
bool IsLegal83Utf8(std::string_view Utf8);

} // namespace qnl::detail
