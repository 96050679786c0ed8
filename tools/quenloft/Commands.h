// The subcommands of the quenloft tool; each lives in its own cmd_*.cpp file.
#pragma once

#include <string>
#include <vector>

namespace qnl::tool {

using TArgs = std::vector<std::string>;

// Each returns the process exit status; errors are reported on stderr by main.
int CmdCheck(const TArgs& Args);     // check PROJECT [--program PATH]
int CmdClasses(const TArgs& Args);   // classes [--json | --markdown] [-o FILE]
int CmdCompile(const TArgs& Args);   // compile FORM -o SETUP [--program PATH]
int CmdConvert(const TArgs& Args);   // convert IN OUT
int CmdDump(const TArgs& Args);      // dump FILE
int CmdExtract(const TArgs& Args);   // extract FILE DIR
int CmdInstalled(const TArgs& Args); // installed
int CmdList(const TArgs& Args);      // list FILE [--json]
int CmdMachine(const TArgs& Args);   // machine create|version [NAME]|pending|restart
int CmdNew(const TArgs& Args);       // new DIR [--product NAME] [--dialogs] [--shortcuts]
int CmdPreview(const TArgs& Args);   // preview PROJECT [--form NAME | --page DIALOG] -o FILE.png [--language LANG]
int CmdReg(const TArgs& Args);       // reg query|set|delete|export KEY ...
int CmdUninstall(const TArgs& Args); // uninstall NAME [--unattended] [--quiet] [--log FILE]

} // namespace qnl::tool
