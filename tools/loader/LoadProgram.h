// The loading program's whole run: find setup.1, unpack it, start the installation, wait.
#pragma once

#include <string>
#include <vector>

namespace qnl {

// Exit statuses of the installation program, passed back unchanged.
constexpr int kInstallSucceeded = 0;
constexpr int kInstallFailed = 1;
constexpr int kInstallAborted = 2;
constexpr int kInstallNeedsRestart = 3;

// Runs the loading program with its command-line arguments (without the program name) and
// returns the installation program's exit status. ELoadProgram (or another Exception) when
// the installation program could not be started; its temporary directory is gone then.
int RunLoadProgram(const std::vector<std::string>& Arguments);

} // namespace qnl
