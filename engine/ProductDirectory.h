// The product directory: where the installed tools, the marker file and the loading program lie.
#pragma once

#include <string>
#include <vector>

#include "common/exceptions_Quenloft.h"

namespace qnl {

// No directory of the search path holds the marker file.
QNL_IEXCEPTION(IENoQuenloftPath, IException);

// The file whose presence makes a directory the product directory.
inline constexpr const char* kProductMarkerFile = "Q32V40.TXT";
// The loading program the build copies as setup.exe.
inline constexpr const char* kLoadingProgramFile = "QuenloftLoadProgram.exe";
// The environment variable naming the directories searched first.
inline constexpr const char* kProductPathVariable = "QUENLOFT_PATH";

// The directories searched for the product directory, in order, as Windows paths without a
// trailing backslash: each entry of QUENLOFT_PATH (Unix directories separated by ":", empty
// entries skipped), then the directory of the running program, then the bin directory of
// the build that made this program.
std::vector<std::string> ProductSearchPath();

// The first directory of SearchPath that holds kProductMarkerFile, as it is listed.
// IENoQuenloftPath when none does.
std::string FindProductDirectoryIn(const std::vector<std::string>& SearchPath);

// FindProductDirectoryIn(ProductSearchPath()).
std::string FindProductDirectory();

} // namespace qnl
