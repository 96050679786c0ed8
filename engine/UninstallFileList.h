// The lists of installed files in a product's uninstall entry.
#pragma once

#include <string>

namespace qnl {

// Adds Path to the files of the uninstall key Key under HKEY_LOCAL_MACHINE unless one of its
// lists holds it already (a reinstall lists each file once): "Entries" of Key\Files (default
// "0") plus one gives n, then "File<n>" = Path and "Entries" = n. A "Files" key that cannot take
// another value (full, or "Entries" not a number) is followed by Files1, Files2 ...; after
// sixteen of them the last error stands.
void AddUninstallFileEntry(const std::string& Key, const std::string& Path);

// Adds Path to Key\ActiveX as "<path>;<flag>" (flag 1 for a server program, 0 for a library),
// unless it is listed there already.
void AddUninstallActiveXEntry(const std::string& Key, const std::string& Path, bool Program);

} // namespace qnl
