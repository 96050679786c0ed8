// The loading program's own failure.
#pragma once

#include "common/LongOptions.h"
#include "rtl/Exceptions.h"

namespace qnl {

// Everything that keeps the loading program from starting the installation; its message is
// one line that says what could not be done to which file.
QNL_EXCEPTION(ELoadProgram, Exception);

} // namespace qnl
