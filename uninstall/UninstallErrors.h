// What keeps an uninstall from starting or finishing.
#pragma once

#include "rtl/Exceptions.h"

namespace qnl {

// The root of the uninstaller's own errors.
QNL_EXCEPTION(EUninstall, Exception);
// The product has no uninstall entry on this machine (exit status 1).
QNL_EXCEPTION(ENotInstalled, EUninstall);
// The uninstall entry holds something the uninstaller cannot account for; the message names
// the value. Nothing is removed.
QNL_EXCEPTION(EDamagedRecord, EUninstall);

} // namespace qnl
