// The loading program's long options, in the usual GNU form.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qnl {

// What the command line asked for. Settings go to the installation program as QUENLOFT_*
// environment variables, so that its own switches stay as they are.
struct TLoaderOptions {
  bool Help = false;
  bool Version = false;
  std::map<std::string, std::string> Environment; // variable name -> value
  std::vector<std::string> LoaderWords;           // "*" arguments, e.g. "*TODISK"
  bool List = false;                              // print the contents instead of installing
  std::optional<std::string> ExtractDir;          // unpack into this host folder instead
};

// Parses Arguments (without the program name). "--name value" and "--name=value" both give an
// option its value; FilePath turns a file name as the user typed it into the one the
// installation program is told. Words that are no option are passed over. EUsage for an
// unknown option, a missing value, or --json without --list.
TLoaderOptions ParseLoaderOptions(const std::vector<std::string>& Arguments,
                                  const std::function<std::string(const std::string&)>& FilePath);

// The text of --help: usage, the options and the exit statuses.
std::string LoaderHelpText();

} // namespace qnl
