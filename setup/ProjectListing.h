// Listing a distribution's files as its project would install them, without installing.
#pragma once

#include <optional>
#include <string>

#include "setup/SetupProgram.h"

namespace qnl {

// The environment variable that asks the setup program for the list: "table" or "json".
inline constexpr const char* kListVariable = "QUENLOFT_LIST";

// Loads this program's project (read from ProgramFile) into the main form CreateMainForm
// makes, with the program's own switches (-s names the distribution's directory) but
// without running anything, and prints every install file of the project on stdout: its
// archive member with size, date and version as the archive holds them, and the destination
// it would be installed to on this machine. Format: "table" or "json". Returns the exit
// status; nothing is written to the machine. A file whose archive cannot be read, or whose
// destination cannot be worked out, is listed with what is known and the error in place of
// the destination.
int ListProjectFiles(const std::string& Format, int Argc, char** Argv, const TMainFormFactory& CreateMainForm);

} // namespace qnl
