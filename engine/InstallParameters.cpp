// Run-time type information of the message paths' parameter objects.
#include "engine/InstallParameters.h"

namespace qnl {

QNL_BEGIN_CLASS(TMessageParameter);
QNL_END_CLASS

QNL_BEGIN_CLASS(TDiskParameter);
QNL_END_CLASS

QNL_BEGIN_CLASS(TFileStatusParameter);
QNL_END_CLASS

QNL_BEGIN_CLASS(TDownloadStatusParameter);
QNL_END_CLASS

} // namespace qnl
