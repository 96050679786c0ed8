// The machine's interpreter of the few batch commands the engine writes.
#pragma once

#include <string>
#include <string_view>

namespace qnl {

// Runs the batch text line by line. Known commands: ERASE/DEL file (wildcards allowed in the
// name), DELTREE [/Y] dir-or-file, MOVE source dest, REM / "::" comments, "@" prefixes and
// ECHO OFF/ON; ECHO text prints. Paths are full Windows paths, quoted when they hold blanks;
// an unquoted path is one word (a short name), never pieced together from several. Each
// command takes its exact number of paths, and removes only what BatchRemovalRefusal allows
// (no drive root, Windows or system folder; DELTREE only below the temporary directory). As in
// COMMAND.COM a failing command does not stop the file; it is reported on stderr and in the
// machine's batch log, as is an unknown command or a refusal. Returns the number of commands
// that failed.
int RunBatchText(std::string_view Text);
// Runs the batch file at WindowsPath; a file that erases itself is fine. When WaitForPid is
// not 0, first waits for that process to end (the program that started the batch file). Its
// reports name the file.
int RunBatchFile(const std::string& WindowsPath, int WaitForPid = 0);

} // namespace qnl
