// Checking a project's text form before it is built: everything that can be known without
// running it, found together.
#pragma once

#include <string>
#include <vector>

#include "setup/SetupProgram.h"

namespace qnl {

struct TProjectFinding {
  int Line = 0;          // in the text form; 0 when unknown
  std::string Component; // empty for a fault of the text itself
  std::string Message;
};

// Loads the text form Text into the main form CreateMainForm makes (nothing is run, nothing
// is written), with the application and the classes the caller set up, and returns what is
// wrong, in the order of the text: a syntax error (alone: nothing more can be read); unknown
// classes and properties, values of the wrong type or outside their enumeration, texts the
// machine's code page cannot hold, references to components the project does not have,
// circular containers, event handlers the main form does not publish, components that refuse
// to be made (a second TMainLinkGroup) or loaded (a DestName that is not a file name); then
// what a build refuses (CheckInstallFiles).
std::vector<TProjectFinding> CheckProjectText(const std::string& Text, const TMainFormFactory& CreateMainForm);

// The setup program run with QNL_CHECK_PROJECT=FILE: makes the application (offscreen unless
// the caller chose a platform), registers the classes and prints each finding of FILE as
// "FILE:LINE: Component: message" on stdout. Returns 0 when there is none, 1 when there are,
// 2 when the file cannot be read or the project cannot be looked at (the error on stderr).
int RunProjectCheck(const std::string& FormFile, int Argc, char** Argv, const TMainFormFactory& CreateMainForm);

} // namespace qnl
