// Where a distribution's archives lie: appended to its setup program, or beside it.
#pragma once

#include <string>
#include <vector>

#include "archive/MemberListing.h"

namespace qnl {

// The archives of the distribution File (a Windows path) belongs to. A setup program with the
// "SELFEXTRACTING" trailer carries its setup archive and, when the project has files, its main
// archive. One with the "NOTSELFEXTRACT" trailer (a distribution on floppy disks, or built
// without appending) has them beside it as setup.1 and files.1, whichever exist, the further
// disks of a spanned files.1 beside those; EQnlfCompress when neither exists. Any other file
// is an archive itself.
std::vector<TArchivePlace> DistributionArchives(const std::string& File);

} // namespace qnl
