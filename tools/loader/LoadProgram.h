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
// The loading program's own: a command line it does not understand.
constexpr int kUsageError = 64;
// The installation program's for scripts: a bad answer file, and another setup running on
// the same machine.
constexpr int kAnswerFileError = 65;
constexpr int kSetupAlreadyRunning = 75;

// Runs the loading program with its command-line arguments (without the program name) and
// returns the installation program's exit status. ELoadProgram (or another Exception) when
// the installation program could not be started; its temporary directory is gone then.
// Options (--help, --answers FILE ...) are read first: see LoaderOptions.h; EUsage for
// those it rejects, before anything is unpacked. --help and --version
// print to Out and return 0.
int RunLoadProgram(const std::vector<std::string>& Arguments, std::string& Out);

} // namespace qnl
