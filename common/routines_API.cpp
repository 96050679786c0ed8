// The platform helper routines of the engine.
#include "common/routines_API.h"

#include "common/exceptions_Quenloft.h"
#include "common/routines_Strings.h"
#include "platform/files/DelayedMoves.h"
#include "platform/files/Files.h"
#include "platform/files/ShortNames.h"
#include "platform/process/Process.h"
#include "platform/process/Restart.h"
#include "platform/system/SystemInfo.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

// The buffers the engine hands to the platform hold 261 characters; a longer answer fails.
constexpr size_t kPathBuffer = 261;

// Asks the platform for a directory; any failure, or an answer that does not fit the buffer,
// becomes the routine's own message.
std::string PlatformDirectory(std::string (*Query)(), const char* Message) {
  std::string dir;
  try {
    dir = Query();
  } catch (const Exception&) {
    throw EAPIRoutines(Message);
  }
  if (dir.empty() || dir.size() >= kPathBuffer) throw EAPIRoutines(Message);
  return RemoveBackSlash(dir);
}

} // namespace

int GetWindowsVersionClass() {
  TOSVersionInfo info;
  info.dwOSVersionInfoSize = 148;
  bool ok = false;
  try {
    ok = GetVersionEx(info);
  } catch (const Exception&) {
    ok = false;
  }
  if (!ok) throw EAPIRoutines("Could not get information about the current version of Windows");
  switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32s: return wvcWin32s;
    case VER_PLATFORM_WIN32_WINDOWS: return wvcWin95;
    case VER_PLATFORM_WIN32_NT: {
      std::string text =
          Format("%d.%d", {static_cast<int64_t>(info.dwMajorVersion), static_cast<int64_t>(info.dwMinorVersion)});
      return text.find("3.5") == std::string::npos ? wvcWinNT : wvcWinNT35;
    }
    default: return wvcUnknown;
  }
}

std::string GetWindowsDir() {
  return PlatformDirectory(WindowsDirectory, "Could not retrieve the windows directory from windows");
}

std::string GetSystemDir() {
  return PlatformDirectory(SystemDirectory, "Could not retrieve the system directroy from windows");
}

std::string GetTempDir() { return PlatformDirectory(TempDirectory, "Cannot create a temporary file"); }

std::string GetTempFile(TTempFileKeep Keep) {
  std::string dir = GetTempDir();
  std::string name;
  try {
    name = CreateTempFileName(dir, "bat");
  } catch (const Exception&) {
    throw EAPIRoutines("Cannot create a temporary file");
  }
  if (name.empty() || name.size() >= kPathBuffer) throw EAPIRoutines("Cannot create a temporary file");
  if (Keep == TTempFileKeep::tkDelete) {
    try {
      DeleteFile(name);
    } catch (const Exception&) {
      // Only the name is wanted; a file that stays behind is harmless.
    }
  }
  return name;
}

std::string GetShortPath(std::string_view Path) {
  try {
    return ShortPathName(Path);
  } catch (const Exception&) {
    return std::string(Path);
  }
}

std::string GetModuleName() { return ModuleFileName(); }

TDateTime GetFileDate(std::string_view FileName) { return FileDateTime(FileName); }

void SetFileDate(std::string_view FileName, TDateTime Date) { SetFileDateTime(FileName, Date); }

bool TryDeleteFile(std::string_view FileName) {
  if (!FileExists(FileName)) return !DirectoryExists(FileName);
  try {
    DeleteFile(FileName);
    return true;
  } catch (const Exception&) {
    return false;
  }
}

bool IsFileInUse(std::string_view FileName) { return FileInUse(FileName); }

bool MoveFileAtRestart(std::string_view Source, std::string_view Dest) {
  try {
    MoveFileDelayed(Source, Dest, TExisting::exReplace);
    return true;
  } catch (const Exception&) {
    return false;
  }
}

void WriteWininitRename(std::string_view OldName, std::string_view NewName) { AddWininitRename(OldName, NewName); }

uint32_t ExecuteCommand(std::string_view CmdLine, int ShowWindow) {
  try {
    return WinExec(CmdLine, ShowWindow);
  } catch (const Exception&) {
    return 0;
  }
}

bool RestartWindows() {
  int versionClass = GetWindowsVersionClass();
  try {
    if (versionClass == wvcWin95) return ExitWindowsEx(EWX_REBOOT, 0);
    if (versionClass == wvcWinNT) {
      if (!EnableShutdownPrivilege()) return false;
      return ExitWindowsEx(EWX_REBOOT, 0);
    }
  } catch (const Exception&) {
    // A restart that could not be recorded failed like any other.
  }
  return false;
}

uint16_t GetUserLanguageID() { return UserDefaultLangID(); }

} // namespace qnl
