// The subcommands of the quenloft tool; each lives in its own cmd_*.cpp file.
#pragma once

#include <string>
#include <vector>

namespace qnl::tool {

using TArgs = std::vector<std::string>;

// Each returns the process exit status; errors are reported on stderr by main.
int CmdCompile(const TArgs& args); // compile FORM -o SETUP [--program PATH]
int CmdConvert(const TArgs& args); // convert IN OUT
int CmdDump(const TArgs& args);    // dump FILE
int CmdMachine(const TArgs& args); // machine create|version [NAME]|pending|restart
int CmdReg(const TArgs& args);     // reg query|set|delete|export KEY ...

} // namespace qnl::tool
