// The loading program's own failure.
#pragma once

#include "rtl/Exceptions.h"

namespace qnl {

// Everything that keeps the loading program from starting the installation; its message is
// one line that says what could not be done to which file.
QNL_EXCEPTION(ELoadProgram, Exception);
// A command line the loading program does not understand (exit status 64).
QNL_EXCEPTION(EUsage, Exception);

} // namespace qnl
