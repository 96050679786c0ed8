// Types shared by the subsystems.
#pragma once

#include "rtl/TSet.h"
#include "rtl/TypInfo.h"

namespace qnl {

QNL_ENUM(TInstallType, itFull, itDefault, itCompact, itCustom)
using TInstallTypeSet = TSet<TInstallType>;

QNL_ENUM(TlzhCommand, lzcOverwrite, lzcOnlyAdd)

QNL_ENUM(TOverwriteType, owAlways, owNever, owVersion, owDate, owVersionDate)

} // namespace qnl
