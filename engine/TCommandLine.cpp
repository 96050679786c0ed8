// Parsing of the setup program's switches.
#include "engine/TCommandLine.h"

#include "common/exceptions_Quenloft.h"

namespace qnl {

namespace {
[[noreturn]] void InvalidParameter(const std::string& Arg) {
  throw IException("Invalid parameter <%s>. Valid command line parameters are: -b (Build), -d (Debug), "
                   "-f (Transfer to floppies), -e (Called by self-extractor), -r (After reboot)",
                   {Arg});
}

bool SwitchOfLetter(char Letter, TInstallSwitch& Switch) {
  switch (Letter | 0x20) { // either case
    case 'b': Switch = swBuild; return true;
    case 'f': Switch = swFloppies; return true;
    case 'd': Switch = swDebug; return true;
    case 'e': Switch = swSelfExtractor; return true;
    case 'r': Switch = swAfterReboot; return true;
    case 's': Switch = swSourcePath; return true;
    case 'c': Switch = swCleanup; return true;
    default: return false;
  }
}
} // namespace

void TCommandLine::Clear() {
  FSwitches = {};
  for (std::string& a : FArguments) a.clear();
}

void TCommandLine::Parse(const std::vector<std::string>& Args) {
  for (const std::string& arg : Args) {
    if (arg.size() < 2) InvalidParameter(arg);
    char prefix = arg[0];
    if (prefix != '-' && prefix != '*') InvalidParameter(arg);
    TInstallSwitch sw;
    bool known = (arg[1] >= 'A' && arg[1] <= 'Z') || (arg[1] >= 'a' && arg[1] <= 'z');
    known = known && SwitchOfLetter(arg[1], sw);
    if (!known) {
      if (prefix == '-') InvalidParameter(arg);
      continue; // such as "*TODISK": the loading program's own
    }
    FSwitches.Include(sw);
    FArguments[sw] = arg.substr(2);
  }
}

} // namespace qnl
