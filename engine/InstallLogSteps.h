// The install log's lines for the engine's steps: one call per event.
#pragma once

#include <string>

#include "common/types_Quenloft.h"
#include "rtl/Forms.h"

namespace qnl {

// The installation of Product (its name and version) starts: command line, product and engine
// version, machine directory, Windows version class and code page.
void LogInstallStart(const std::string& Product, const std::string& Version);
// An error ended a step; Message is what the user was shown.
void LogInstallError(const std::string& Message);
// A message box and its answer; an error box as the error it shows.
void LogMessageBox(const TAnsweredBox& Box);
// A file left as it is: Decision is the overwrite decision (TNewerResult) under Rule.
void LogFileKept(int Decision, TOverwriteType Rule, const std::string& Source, const std::string& Dest);
// A file written: at once, or put in place at the machine's restart (the destination was in use).
void LogFileInstalled(bool AtRestart, const std::string& Source, const std::string& Archive, const std::string& Dest);

} // namespace qnl
