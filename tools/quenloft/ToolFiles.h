// What the form subcommands share: reading a text or binary form, finding the setup program.
#pragma once

#include <string>

namespace qnl::tool {

// The binary resource of a text form file, its texts in the machine's ANSI code page; a
// syntax error or a character the code page cannot hold names the file.
std::string CompileFormFile(const std::string& Path);
// The "setup" program beside the running quenloft; EAPIRoutines-style error when missing.
std::string SetupProgramPath();

} // namespace qnl::tool
