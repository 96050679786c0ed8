// The setup program's command line: one switch per argument, each with its argument text.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "rtl/TSet.h"
#include "rtl/TypInfo.h"

namespace qnl {

QNL_ENUM(TInstallSwitch, swBuild, swFloppies, swDebug, swSelfExtractor, swAfterReboot, swSourcePath, swCleanup)
using TInstallSwitches = TSet<TInstallSwitch>;

// The switches given and the argument of each; an absent switch has an empty argument.
class TCommandLine {
public:
  // Parses the program's arguments (without the program name). Each argument is "-x" or
  // "*x" followed by its text; "*" with an unknown letter is ignored (it belongs to the
  // loading program); anything else raises IException "Invalid parameter <...>...".
  // A later argument with the same letter replaces the earlier text.
  void Parse(const std::vector<std::string>& Args);
  void Clear();

  bool Has(TInstallSwitch Switch) const { return FSwitches.Contains(Switch); }
  // The text after the switch letter, from the third character on.
  const std::string& Argument(TInstallSwitch Switch) const { return FArguments[Switch]; }
  TInstallSwitches Switches() const { return FSwitches; }

private:
  TInstallSwitches FSwitches;
  std::array<std::string, swCleanup + 1> FArguments;
};

} // namespace qnl
