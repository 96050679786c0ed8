// The machine's logs of what programs and batch files could not do where someone could see it.
#pragma once

#include <string>
#include <vector>

namespace qnl {

// The machine's start log: one line per program that could only be recorded, not run
// ("<machine>/quenloft-started.log"): "exec <show> <command line>" or "regsvr32 <path>".
std::string StartLogPath();
std::vector<std::string> ReadStartLog();
void AppendStartLog(const std::string& Line);

// The machine's batch log: one line per batch command that failed or was refused
// ("<machine>/quenloft-batch.log"), since a batch file runs detached, with no one to see its
// output.
std::string BatchLogPath();
std::vector<std::string> ReadBatchLog();
void AppendBatchLog(const std::string& Line);

} // namespace qnl
