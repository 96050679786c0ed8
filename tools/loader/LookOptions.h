// Looking inside the distribution without installing: --extract DIR.
#pragma once

#include <string>

namespace qnl {

// Unpacks every member of the distribution's archives (inside ProgramFile, or beside it as
// setup.1 and files.1 with the further disks of a spanned files.1) into Dir (a host path),
// installing nothing; prints the files written once all are; returns the exit status.
int ExtractDistribution(const std::string& Dir, const std::string& ProgramFile);

} // namespace qnl
