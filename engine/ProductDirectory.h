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
// The product's uninstaller, which a project installs through a TUninstallEXE.
inline constexpr const char* kProductUninstallerFile = "QuenloftUninstall.exe";
// The product directory of an installed product, relative to the installation's root (the
// parent of the programs' bin); the installation rules of the build put it there.
inline constexpr const char* kInstalledProductDir = "lib\\quenloft";
// The environment variable naming the directories searched first.
inline constexpr const char* kProductPathVariable = "QUENLOFT_PATH";

// The directories searched for the product directory, in order, as Windows paths without a
// trailing backslash: each entry of QUENLOFT_PATH (Unix directories separated by ":", empty
// entries skipped), then the directory of the running program (a build tree keeps the
// programs and the loading program together in bin), then lib\quenloft beside that
// directory (an installed product: the programs in bin, the loading program in lib/quenloft).
std::vector<std::string> ProductSearchPath();
// The same for the program ProgramFile (a Windows path) instead of the running one.
std::vector<std::string> ProductSearchPath(const std::string& ProgramFile);

// The first directory of SearchPath that holds kProductMarkerFile, as it is listed.
// IENoQuenloftPath when none does.
std::string FindProductDirectoryIn(const std::vector<std::string>& SearchPath);

// FindProductDirectoryIn(ProductSearchPath()).
std::string FindProductDirectory();

} // namespace qnl
