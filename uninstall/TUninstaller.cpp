// The removal of one installed product.
#include "uninstall/TUninstaller.h"

#include "common/InstallLog.h"
#include "engine/SystemRegistryKeys.h"
#include "platform/files/DelayedMoves.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "platform/registry/Registry.h"
#include "rtl/SysUtils.h"
#include "settings/routines_Registry.h"
#include "uninstall/ActiveXServers.h"
#include "uninstall/UninstallErrors.h"

namespace qnl {

namespace {

void Log(const std::string& Step, const std::string& Text) {
  if (InstallLog().On()) InstallLog().Step(Step, Text);
}

} // namespace

TUninstaller::TUninstaller(TUninstallRecord Record, IUninstallQuestions& Questions)
    : FRecord(std::move(Record)), FQuestions(Questions), FCounts(FRecord.Key) {}

TUninstallOutcome TUninstaller::Run() {
  for (const TRecordedFile& file : FRecord.Files) RemoveRecorded(file);
  if (!FRecord.Uninstaller.empty()) RemoveFile(FRecord.Uninstaller, TRecordedPlace::rpMachine);
  std::vector<std::string> keptFolders;
  std::vector<std::string> removedFolders;
  FFolders.RemoveEmpty(removedFolders, keptFolders);
  for (const std::string& folder : removedFolders) {
    FOutcome.Removed.push_back(folder);
    Log("folder", "removed: " + folder);
  }
  for (const std::string& folder : keptFolders) {
    std::string names;
    for (const TDirEntry& entry : ListDirectory(folder)) names += (names.empty() ? "" : ", ") + entry.Name;
    Kept(folder, "it holds what " + FRecord.DisplayName + " did not install: " + names);
  }
  RegDeleteKeyTree(static_cast<int>(TRootKey::rkLocalMachine), FRecord.Key);
  if (TRegKey::Exists(TRootKey::rkLocalMachine, FRecord.Key))
    throw EUninstall("Cannot delete the uninstall entry HKEY_LOCAL_MACHINE" + FRecord.Key);
  Log("registry", "deleted HKEY_LOCAL_MACHINE" + FRecord.Key);
  // Installations make these keys when they first need them; emptied, they go too, so that the
  // machine is as it was before its first installation.
  for (const std::string& key :
       {RemoveBackSlash(kUninstallKeyPrefix), std::string(kSharedDLLsKey), std::string(kHelpFilesKey),
        std::string(kInstallRecordsKey), ExtractFileDir(kInstallRecordsKey)}) {
    std::optional<TRegKey> record = TRegKey::Open(TRootKey::rkLocalMachine, key);
    if (record && !record->HasSubKeys() && record->Values().empty() && TRegKey::Delete(TRootKey::rkLocalMachine, key))
      Log("registry", "deleted the empty HKEY_LOCAL_MACHINE" + key);
  }
  return FOutcome;
}

void TUninstaller::RemoveRecorded(const TRecordedFile& File) {
  if (File.Place != TRecordedPlace::rpMachine) {
    RemoveFile(File.Path, File.Place);
    return;
  }
  TSharedRelease shared = FCounts.Release(File.Path);
  if (shared.Shared) {
    Log("shared DLL count", FCounts.CountedName(File.Path) + " = " + IntToStr(shared.Remaining));
    if (shared.Remaining > 0) {
      Kept(File.Path, "a shared file still used by " + IntToStr(shared.Remaining) + " installation" +
                          (shared.Remaining == 1 ? "" : "s"));
      return;
    }
    bool remove = shared.Removal ? *shared.Removal : !FileExists(File.Path) || FQuestions.RemoveSharedFile(File.Path);
    FCounts.NoteRemoval(File.Path, remove);
    if (!remove) {
      FCounts.Forget(File.Path);
      Kept(File.Path, "a shared file no other installation uses, kept as chosen");
      return;
    }
  }
  if (File.ActiveX && FileExists(File.Path)) {
    std::string problem = UnregisterActiveX(File.Path, File.ActiveXProgram);
    if (problem.empty()) {
      Log("unregistered", File.Path);
    } else {
      FOutcome.Warnings.push_back("Could not unregister " + File.Path + ": " + problem);
      Log("error", FOutcome.Warnings.back());
    }
  }
  RemoveFile(File.Path, File.Place);
  if (shared.Shared) FCounts.Forget(File.Path);
}

void TUninstaller::RemoveFile(const std::string& Path, TRecordedPlace Place) {
  FFolders.Note(Path, Place);
  ForgetHelpFile(Path);
  if (!FileExists(Path)) {
    // Gone already: removed by an earlier run, or by someone else.
    if (DirectoryExists(Path)) Kept(Path, "a folder where a file was recorded");
    return;
  }
  try {
    DeleteFile(Path);
    FOutcome.Removed.push_back(Path);
    Log("file", "removed: " + Path);
  } catch (const EFileInUse&) {
    MoveFileDelayed(Path, "", TExisting::exFail);
    FOutcome.AtRestart.push_back(Path);
    Log("file", "removed at restart (in use): " + Path);
  }
}

void TUninstaller::ForgetHelpFile(const std::string& Path) {
  std::optional<TRegKey> help = TRegKey::Open(TRootKey::rkLocalMachine, kHelpFilesKey);
  if (!help) return;
  std::string name = UpperCase(ExtractFileName(Path));
  // Only this file's registration: another product's help file of the same name lies elsewhere.
  std::optional<std::string> dir = help->ReadString(name);
  if (!dir || !SameText(NormalizeWindowsPath(*dir), NormalizeWindowsPath(ExtractFileDir(Path)))) return;
  help->DeleteValue(name);
  Log("registry", "deleted HKEY_LOCAL_MACHINE" + std::string(kHelpFilesKey) + " " + name);
}

void TUninstaller::Kept(const std::string& Path, const std::string& Why) {
  FOutcome.Kept.push_back(Path + " (" + Why + ")");
  Log("kept", Path + " (" + Why + ")");
}

} // namespace qnl
