// Long options in the usual GNU form (--name, --name VALUE, --name=VALUE) read by one table.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "rtl/Exceptions.h"

namespace qnl {

// A command line that the program does not understand (exit status 64).
QNL_EXCEPTION(EUsage, Exception);

// One option of a program's table.
struct TLongOption {
  const char* Name;
  const char* Value; // placeholder of its value in the help text; empty for a flag
  const char* Help;
};

// One option found on a command line, with its value ("" for a flag).
struct TGivenOption {
  const TLongOption* Option;
  std::string Value;
};

struct TParsedArguments {
  std::vector<TGivenOption> Options; // in command-line order
  std::vector<std::string> Words;    // the arguments that are no option, in order
};

// Splits Arguments (without the program name) by Table. A word that starts with "-" is an
// option and must be one of the table; a "--" alone ends the options. EUsage for an unknown
// option, a value given to a flag, or a missing or empty value.
TParsedArguments ParseLongOptions(const std::vector<std::string>& Arguments, std::span<const TLongOption> Table);

// The table as help lines: "  --name VALUE" padded to 24 columns, then the help.
std::string LongOptionsHelp(std::span<const TLongOption> Table);

} // namespace qnl
