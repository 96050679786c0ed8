// The loading program's options that look inside the distribution or log the installation:
// --list [--json], --extract DIR and --log FILE.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/loader/SetupArchiveSource.h"

namespace qnl {

// With --extract DIR among Arguments: unpacks every member of the distribution's archives
// (the setup archive, and a self-extracting file's main archive) into DIR (a host path),
// installing nothing, and returns the exit status. std::nullopt without --extract.
std::optional<int> RunExtractOption(const std::vector<std::string>& Arguments, const TSetupArchiveSource& Source);

// With --list among Arguments: asks the installation program, through QUENLOFT_LIST, to
// print the project's files and their destinations ("json" with --json, else "table")
// instead of installing; true then.
bool PassListOption(const std::vector<std::string>& Arguments);

// With --log FILE among Arguments: names the file (made absolute) in QUENLOFT_LOG, which the
// installation program inherits and writes its log to.
void PassLogOption(const std::vector<std::string>& Arguments);

} // namespace qnl
