// What a build can know of a loaded project before it starts.
#pragma once

#include <vector>

#include "rtl/FormReader.h"

namespace qnl {

// The install files of the session, looked at together: a UniqueID two files share (their
// archive members would overwrite each other), a source file that does not exist (named by
// its full path), two files installed to the same destination. Nothing is written.
std::vector<TFormProblem> CheckInstallFiles();

} // namespace qnl
