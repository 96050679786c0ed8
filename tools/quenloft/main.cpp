// quenloft: the project and machine tool.
#include <cstdio>
#include <exception>
#include <string>

#include "tools/quenloft/Commands.h"

namespace {

struct TCommandEntry {
  const char* Name;
  const char* Usage;
  int (*Run)(const qnl::tool::TArgs&);
};

// One line per subcommand.
const TCommandEntry kCommands[] = {
    {"check", "check PROJECT [--program PATH]   what is wrong with a text form, before a build", qnl::tool::CmdCheck},
    {"classes", "classes [--json | --markdown] [-o FILE]   every component class, its properties and events",
     qnl::tool::CmdClasses},
    {"compile",
     "compile FORM -o SETUP [--program PATH]   write a setup program carrying FORM (PATH: its program, default setup)",
     qnl::tool::CmdCompile},
    {"convert", "convert IN OUT          text form <-> binary form resource", qnl::tool::CmdConvert},
    {"dump", "dump FILE               print the resources of a setup program or resource", qnl::tool::CmdDump},
    {"extract", "extract FILE DIR        unpack every member of a setup program or archive into DIR",
     qnl::tool::CmdExtract},
    {"installed", "installed               the machine's installed products: display name|||uninstall command",
     qnl::tool::CmdInstalled},
    {"list", "list FILE [--json]      the members of a setup program or archive: size, date, version, name",
     qnl::tool::CmdList},
    {"machine", "machine create|version [NAME]|pending|restart   the Windows machine of $WINEPREFIX",
     qnl::tool::CmdMachine},
    {"new", "new DIR [--product NAME] [--dialogs] [--shortcuts]   write a starting project into the empty DIR",
     qnl::tool::CmdNew},
    {"preview",
     "preview PROJECT [--form NAME | --page DIALOG] -o FILE.png [--language LANG]   draw a window of the project",
     qnl::tool::CmdPreview},
    {"reg", "reg query|set|delete|export KEY ...   the registry of the machine (HKLM\\..., HKCU\\...)",
     qnl::tool::CmdReg},
    {"uninstall", "uninstall NAME [--unattended] [--quiet] [--log FILE]   remove an installed product",
     qnl::tool::CmdUninstall},
};

int Usage() {
  std::fprintf(stderr, "usage: quenloft COMMAND ...\n");
  for (const auto& c : kCommands) std::fprintf(stderr, "  quenloft %s\n", c.Usage);
  return 2;
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  std::string name = argv[1];
  qnl::tool::TArgs args(argv + 2, argv + argc);
  for (const auto& c : kCommands) {
    if (name != c.Name) continue;
    try {
      return c.Run(args);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "quenloft %s: %s\n", c.Name, e.what());
      return 1;
    }
  }
  return Usage();
}
