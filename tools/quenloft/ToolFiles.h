// What the form subcommands share: reading a text or binary form, finding the setup program.
#pragma once

#include <string>

namespace qnl::tool {

// The binary resource of a text form file; a syntax error names the file.
std::string CompileFormFile(const std::string& Path);
// The "setup" program beside the running quenloft; EAPIRoutines-style error when missing.
std::string SetupProgramPath();

} // namespace qnl::tool
