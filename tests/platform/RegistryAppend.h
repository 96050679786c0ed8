// The read-then-write of a growing list, shared by the registry tests and their second process.
#pragma once

#include <string>

namespace qnl::test {

// In one edit of the current machine's HKEY_LOCAL_MACHINE\Key: reads "Entries" n (0 when
// missing), writes "Item<n+1>" and "Entries" n+1, as the uninstall entry's file lists grow.
void AppendItem(const std::string& Key);

} // namespace qnl::test
