// Undoing the self-registration of an installed ActiveX server.
#pragma once

#include <string>

namespace qnl {

// The reverse of the installation's registration of Path: DllUnregisterServer of a library,
// the program run with "/UNREGSERVER" (and waited for) for a server program. Returns what went
// wrong, empty when it was done.
std::string UnregisterActiveX(const std::string& Path, bool Program);

} // namespace qnl
