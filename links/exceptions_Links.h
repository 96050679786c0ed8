// The errors of shortcut folders, shortcuts and their lists.
#pragma once

#include "common/exceptions_Quenloft.h"

namespace qnl {

QNL_IEXCEPTION(IEInstallShellLink, IException);
QNL_IEXCEPTION(IEShellLinkGroup, IException);
QNL_IEXCEPTION(IEInstallShellLinkList, IException);

} // namespace qnl
