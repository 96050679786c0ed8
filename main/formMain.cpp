// The generic main form of a setup program.
#include "main/formMain.h"

namespace qnl {

QNL_BEGIN_CLASS(TformMain);
QNL_END_CLASS

} // namespace qnl
