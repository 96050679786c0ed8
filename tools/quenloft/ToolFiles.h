// What the subcommands share: reading a text or binary form, finding the programs beside the tool.
#pragma once

#include <optional>
#include <string>

namespace qnl::tool {

// The binary resource of a text form file, its texts in the machine's ANSI code page; a
// syntax error or a character the code page cannot hold names the file.
std::string CompileFormFile(const std::string& Path);
// The program Name beside the running tool; EAPIRoutines naming it (What: "setup program")
// when it is missing.
std::string ProgramBesideTool(const std::string& Name, const std::string& What);
// The "setup" program beside the running quenloft.
std::string SetupProgramPath();

} // namespace qnl::tool
