// QuenloftUninstall.exe's whole run: options, the machine, the question, the removal, the report.
#pragma once

#include <string>
#include <vector>

namespace qnl {

// Exit statuses, as the installation's where they mean the same.
constexpr int kUninstallSucceeded = 0;
constexpr int kUninstallFailed = 1; // also: the product is not installed
constexpr int kUninstallCancelled = 2;
constexpr int kUninstallNeedsRestart = 3;
constexpr int kUninstallUsageError = 64;
constexpr int kUninstallMachineBusy = 75;

// Runs the uninstaller with main's arguments; returns the exit status.
int RunUninstallProgram(int Argc, char** Argv);

} // namespace qnl
