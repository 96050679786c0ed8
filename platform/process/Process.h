// Starting programs on the machine: WinExec, waiting for a program to end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qnl {

// Show-window values of WinExec.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_SHOW = 5;

// WinExec's results below 32 are errors, as on Windows.
constexpr uint32_t kWinExecFileNotFound = 2;
constexpr uint32_t kWinExecPathNotFound = 3;
constexpr uint32_t kWinExecBadFormat = 11;
constexpr uint32_t kWinExecStarted = 33;

// Splits a Windows command line into its program and arguments (quotes group, as Windows'
// CommandLineToArgv does; backslashes are kept).
std::vector<std::string> SplitCommandLine(std::string_view CmdLine);

// WinExec(CmdLine, CmdShow): starts the program without waiting for it. The program is a
// Windows path, as the first word of CmdLine (quoted when it has blanks; ".exe" may be left
// out). A native executable runs detached; a Windows (PE) program runs through `wine` when it
// is installed, else the request is appended to the machine's start log and counts as
// started; a ".bat" file runs through the machine's batch interpreter, in a detached child
// that first waits for this process to end. Returns kWinExecStarted (33) or a code below 32.
// CmdShow only matters to programs with windows (and is written to the start log).
uint32_t WinExec(std::string_view CmdLine, int CmdShow);

// Runs CmdLine as WinExec would and waits for it to end; returns its exit status (0 for a
// request that was only logged). EOSError when it cannot be started.
int RunAndWait(std::string_view CmdLine);

// Runs Command through /bin/sh with Args as its positional parameters ($1, $2 ...) and the
// "NAME=value" entries of Environment added to this process's environment; waits for it and
// returns its exit status (128 + the signal number when a signal ended it). Its standard
// output is discarded; its standard error is this process's. EOSError when /bin/sh cannot
// be started. The strings are passed as they are (Unix text, not machine paths).
int RunShellCommand(const std::string& Command, const std::vector<std::string>& Args,
                    const std::vector<std::string>& Environment = {});

// Runs `wine` with Args (Windows strings, "regsvr32", "/s", a path...) on this machine and
// waits; returns its exit status. EOSError when wine cannot be started.
int RunWine(const std::vector<std::string>& Args);

// True when a `wine` executable is on PATH (QNL_NO_WINE=1 makes it false, for tests).
bool WineInstalled();

} // namespace qnl
