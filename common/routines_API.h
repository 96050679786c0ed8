// The platform helper routines of the engine, with the errors the engine reports for them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "rtl/DateTime.h"

namespace qnl {

// Windows version classes.
constexpr int wvcWin32s = 0;  // Win32s on Windows 3.1
constexpr int wvcWin95 = 1;   // the Windows 95 family
constexpr int wvcWinNT = 2;   // Windows NT other than 3.5x
constexpr int wvcWinNT35 = 3; // Windows NT 3.5 and 3.51
constexpr int wvcUnknown = 4; // any other platform

// The Windows version class of the machine: 0 Win32s, 1 Windows 95 family, 2 NT whose
// "major.minor" does not contain "3.5", 3 NT whose version does, 4 anything else.
// EAPIRoutines "Could not get information about the current version of Windows".
int GetWindowsVersionClass();

// The Windows directory without trailing backslash.
// EAPIRoutines "Could not retrieve the windows directory from windows".
std::string GetWindowsDir();
// The system directory without trailing backslash.
// EAPIRoutines "Could not retrieve the system directroy from windows".
std::string GetSystemDir();
// The temporary directory without trailing backslash. EAPIRoutines "Cannot create a temporary file".
std::string GetTempDir();

// Whether a temporary file made by GetTempFile stays on disk.
enum class TTempFileKeep { tkDelete, tkKeep };
// A unique file name with the prefix "bat" in the temporary directory. The platform creates the
// file; with tkDelete it is deleted again at once so that only the name is used.
// EAPIRoutines "Cannot create a temporary file".
std::string GetTempFile(TTempFileKeep Keep = TTempFileKeep::tkDelete);

// The short (8.3) form of an existing path; a path that does not exist is returned unchanged,
// since there is nothing to shorten.
std::string GetShortPath(std::string_view Path);
// The full Windows path of the running program.
std::string GetModuleName();

// A file's last write date and time as a TDateTime in local time; EInOutError naming the file.
TDateTime GetFileDate(std::string_view FileName);
void SetFileDate(std::string_view FileName, TDateTime Date);

// The in-use rule: deletes FileName and returns True, or returns False when it cannot be
// deleted (in use by another program, or another failure). A missing file counts as deleted.
bool TryDeleteFile(std::string_view FileName);
// True while another program holds the file.
bool IsFileInUse(std::string_view FileName);

// Asks the system to move Source over Dest when the computer restarts (MoveFileEx with
// MOVEFILE_DELAY_UNTIL_REBOOT). The request also carries MOVEFILE_REPLACE_EXISTING: without it
// the restart refuses to move a file over the existing Dest, which is the very file that was in
// use, and the new file would never arrive. False when the request could not be recorded.
bool MoveFileAtRestart(std::string_view Source, std::string_view Dest);
// Writes OldName=NewName into the section "Rename" of "WININIT.INI" in the Windows directory.
void WriteWininitRename(std::string_view OldName, std::string_view NewName);

// Starts a command line with a show-window value (WinExec); values below 32 are errors.
uint32_t ExecuteCommand(std::string_view CmdLine, int ShowWindow);

// Restarts Windows: class 1 asks for the restart directly; class 2 first enables the shutdown
// privilege. False when the restart could not be requested (other classes, or a failed step).
bool RestartWindows();

// The user's default language identifier (0x0407 German, 0x0409 US English ...).
uint16_t GetUserLanguageID();

} // namespace qnl
