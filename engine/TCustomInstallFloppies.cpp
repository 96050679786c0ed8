// The transfer of a self-extracting distribution onto floppy disks.
#include "engine/TCustomInstall.h"

namespace qnl {

void TCustomInstall::TransferToFloppies(const std::string&) { throw ENotImplemented("Transfer to floppies (-f)"); }

} // namespace qnl
