// Unpacking every member of a setup archive into one directory.
#pragma once

#include <string>
#include <vector>

#include "tools/loader/SetupArchiveSource.h"

namespace qnl {

// Extracts every member of the setup archive into Dir (which exists) under its plain file
// name, in archive order, and returns the paths written; the first is the installation
// program, the others are the presetup files. A later member whose file name was already
// written is left out, so no presetup file can replace the installation program, and so is a
// member named like the directory's marker (kSetupDirectoryMarker).
// ELoadProgram for an archive that cannot be read, is spread over disks, is empty, or whose
// members point outside the setup archive's bytes. Nothing is written outside Dir.
std::vector<std::string> UnpackSetupArchive(const TSetupArchiveSource& Source, const std::string& Dir);

} // namespace qnl
