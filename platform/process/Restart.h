// Restarting the machine: the shutdown privilege, ExitWindowsEx, and what a start of Windows does.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qnl {

constexpr uint32_t EWX_REBOOT = 2;

// Opens this process's token, looks up "SeShutdownPrivilege" and enables it. Always succeeds on
// this machine unless QNL_FAIL_PRIVILEGE=1 is set in the environment (the test hook), or
// SetPrivilegeFailure(true) was called.
bool EnableShutdownPrivilege();
void SetPrivilegeFailure(bool Fail);

// ExitWindowsEx(Flags, Reserved): with EWX_REBOOT records that the machine is to restart
// (a flag file in the machine directory) and returns True; other flags return False.
bool ExitWindowsEx(uint32_t Flags, uint32_t Reserved);
// True while a restart was asked for and the machine has not been restarted since.
bool RestartRequested();
std::string RestartFlagPath();

// What one start of Windows did, one line per step, for the machine tool to print.
struct TStartReport {
  std::vector<std::string> Lines;
  int Failures = 0;
};

// The start-of-Windows steps, in Windows' order: WININIT.INI [Rename] (then the file is
// renamed WININIT.BAK), PendingFileRenameOperations (then the value is deleted),
// HKLM ...\RunServicesOnce and ...\RunOnce entries in name order, each deleted before its
// command runs and each waited for. Clears the restart request. A failing step is reported
// and the start goes on.
TStartReport RunStartOfWindows();

} // namespace qnl
