// Looking inside the distribution without installing: --extract DIR.
#pragma once

#include <string>

#include "tools/loader/SetupArchiveSource.h"

namespace qnl {

// Unpacks every member of the distribution's archives (the setup archive, and a
// self-extracting file's main archive) into Dir (a host path), installing nothing, printing
// each file written; returns the exit status.
int ExtractDistribution(const std::string& Dir, const TSetupArchiveSource& Source);

} // namespace qnl
