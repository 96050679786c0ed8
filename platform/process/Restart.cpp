// Restarting the machine and what a start of Windows does for the installer.
#include "platform/process/Restart.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>

#include "platform/Machine.h"
#include "platform/OSError.h"
#include "platform/files/DelayedMoves.h"
#include "platform/files/Files.h"
#include "platform/process/Process.h"
#include "platform/process/ProcessWait.h"
#include "platform/registry/Registry.h"
#include "platform/system/SystemInfo.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

std::atomic<bool> gPrivilegeFails{false};

constexpr const char* kSessionManager = "System\\CurrentControlSet\\Control\\Session Manager";
constexpr const char* kRunOnceKeys[] = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
};

void Report(TStartReport& Outcome, const std::string& Line) { Outcome.Lines.push_back(Line); }

void Failed(TStartReport& Outcome, const std::string& Line) {
  Outcome.Lines.push_back(Line);
  ++Outcome.Failures;
}

// Deletes a file or (empty or not) directory, as a delete entry of the restart does.
void DeleteAny(const std::string& Path) {
  if (DirectoryExists(Path))
    DeleteTree(Path);
  else
    DeleteFile(Path);
}

void ProcessWininit(TStartReport& Outcome) {
  std::string ini = WindowsDirectory() + "\\WININIT.INI";
  if (!FileExists(ini)) return;
  for (const auto& r : WininitRenames()) {
    try {
      if (SameText(r.Dest, "NUL")) {
        DeleteAny(r.Source);
        Report(Outcome, "WININIT.INI: deleted " + r.Source);
      } else {
        MoveFile(r.Source, r.Dest, TExisting::exReplace);
        Report(Outcome, "WININIT.INI: moved " + r.Source + " to " + r.Dest);
      }
    } catch (const Exception& e) {
      Failed(Outcome, "WININIT.INI: " + e.Message());
    }
  }
  try {
    MoveFile(ini, WindowsDirectory() + "\\WININIT.BAK", TExisting::exReplace);
  } catch (const Exception& e) {
    Failed(Outcome, "WININIT.INI: " + e.Message());
  }
}

void ProcessPendingRenames(TStartReport& Outcome) {
  auto renames = PendingFileRenames();
  for (const auto& r : renames) {
    try {
      if (r.Dest.empty()) {
        DeleteAny(r.Source);
        Report(Outcome, "PendingFileRenameOperations: deleted " + r.Source);
      } else {
        MoveFile(r.Source, r.Dest, r.Replace ? TExisting::exReplace : TExisting::exFail);
        Report(Outcome, "PendingFileRenameOperations: moved " + r.Source + " to " + r.Dest);
      }
    } catch (const Exception& e) {
      Failed(Outcome, "PendingFileRenameOperations: " + e.Message());
    }
  }
  if (auto key = TRegKey::Open(TRootKey::rkLocalMachine, kSessionManager))
    key->DeleteValue("PendingFileRenameOperations");
}

void ProcessRunOnce(TStartReport& Outcome, const char* KeyPath) {
  auto key = TRegKey::Open(TRootKey::rkLocalMachine, KeyPath);
  if (!key) return;
  // Windows NT enumerates the values by name; what the commands add now waits for the next start.
  auto names = key->ValueNames();
  std::sort(names.begin(), names.end(),
            [](const std::string& A, const std::string& B) { return CompareText(A, B) < 0; });
  for (const auto& name : names) {
    auto command = key->ReadString(name);
    key->DeleteValue(name);
    if (!command || Trim(*command).empty()) continue;
    try {
      int status = RunAndWait(*command);
      if (status == 0)
        Report(Outcome, "RunOnce " + name + ": " + *command);
      else
        Failed(Outcome, "RunOnce " + name + ": " + *command + " ended with status " + std::to_string(status));
    } catch (const Exception& e) {
      Failed(Outcome, "RunOnce " + name + ": " + e.Message());
    }
  }
}

} // namespace

bool EnableShutdownPrivilege() {
  if (gPrivilegeFails) return false;
  const char* hook = std::getenv("QNL_FAIL_PRIVILEGE");
  return !(hook && std::string(hook) == "1");
}

void SetPrivilegeFailure(bool Fail) { gPrivilegeFails = Fail; }

std::string RestartFlagPath() { return TMachine::Current().Directory() + "/quenloft-restart-requested"; }

bool ExitWindowsEx(uint32_t Flags, uint32_t Reserved) {
  if ((Flags & EWX_REBOOT) == 0) return false;
  std::string path = RestartFlagPath();
  std::ofstream flag(path, std::ios::trunc);
  flag << "restart requested by process " << CurrentProcessId() << "\n";
  flag.flush();
  if (!flag) RaiseLastFileError("write file", path);
  return true;
}

bool RestartRequested() {
  std::ifstream flag(RestartFlagPath());
  return flag.good();
}

TStartReport RunStartOfWindows() {
  TStartReport report;
  std::remove(RestartFlagPath().c_str());
  ProcessWininit(report);
  ProcessPendingRenames(report);
  for (const char* key : kRunOnceKeys) ProcessRunOnce(report, key);
  TMachine::Current().Flush();
  return report;
}

} // namespace qnl
