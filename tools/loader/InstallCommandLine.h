// The command line the loading program starts the installation program with.
#pragma once

#include <string>
#include <vector>

namespace qnl {

// What the installation program must be told.
struct TInstallRequest {
  std::string LoadingProgram;  // the loading program's own file (Windows path)
  bool SelfExtracting = false; // the setup archive came out of LoadingProgram itself
  bool ToDisk = false;         // started with "*TODISK": transfer to floppies
};

// The switches, one argument each: "-e<file name of LoadingProgram>" for a self-extracting
// file, then "-s<directory of LoadingProgram>" (no trailing backslash), "-c" (the program
// runs from a temporary directory that goes afterwards), and "-f" for ToDisk.
std::vector<std::string> InstallArguments(const TInstallRequest& Request);

// Program and Arguments as one Windows command line: every word in double quotes, so that
// blanks stay inside their argument when the platform splits the line again.
std::string InstallCommandLine(const std::string& Program, const std::vector<std::string>& Arguments);

} // namespace qnl
