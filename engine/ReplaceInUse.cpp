// Replacing an existing destination: the new file is written whole beside it and then takes its
// place, at once or, when another program holds the old file, at the next restart.
#include "common/routines_API.h"
#include "common/routines_Strings.h"
#include "engine/TCustomInstall.h"
#include "engine/TCustomInstallFile.h"
#include "platform/files/FileStream.h"
#include "platform/files/Files.h"
#include "settings/routines_Registry.h"

namespace qnl {

namespace {

// The restart batch file: remove the old file, then move the new one into its place.
std::string WriteRestartBatch(const std::string& OldPath, const std::string& NewPath) {
  std::string batch = ChangeFileExt(GetTempFile(TTempFileKeep::tkDelete), ".bat");
  // Quoted: a path may hold blanks, and the batch's reader never pieces a path from words.
  std::string text = "erase \"" + OldPath + "\"\r\nmove \"" + NewPath + "\" \"" + OldPath + "\"\r\n";
  TFileStream stream(batch, fmCreate);
  stream.Write(text.data(), static_cast<int64_t>(text.size()));
  return batch;
}

} // namespace

void TCustomInstallFile::ReplaceInUse() {
  if (OnReplacing) OnReplacing(this);
  Notify(icReplacingFileInUse, this);
  ToContainer(ucReplacingFileInUse, this);
  FReplacing = true;
  // Only a file another program holds waits for the restart. Anything else that keeps the old
  // file from being replaced (permissions, a read-only disk) shows when the new file takes its
  // place, as an error naming the file, and the old file stays as it was.
  std::string dest = GetDestPath();
  // Nothing was there when the destination was looked at: nobody can hold it.
  if (!FDestFound || !IsFileInUse(dest)) return;

  FRebootReplace = true;
  FReplacedName = FDestName;
  std::string destDir = AddBackSlash(GetDestDir());
  int n = 1;
  while (FileExists(destDir + ChangeFileExt(FDestName, "." + IntToStr(n)))) ++n;
  FDestName = ChangeFileExt(FDestName, "." + IntToStr(n));
}

void TCustomInstallFile::RegisterRestartReplace() {
  std::string written = GetDestPath();
  if (!FileExists(written)) {
    // The extraction was skipped (a silent abort): the old file stays, and no restart may move
    // a file that is not there over it.
    FRebootReplace = false;
    FDestName = FReplacedName;
    return;
  }
  std::string dest = InstalledPath();
  std::string oldPath = GetShortPath(dest);
  std::string newPath = ExtractFileDir(oldPath) + "\\" + FDestName;

  TCustomInstall* install = TCustomInstall::Current();
  if (GetWindowsVersionClass() == wvcWin95) {
    WriteWininitRename(oldPath, newPath);
    if (install) install->SetReboot(true);
    return;
  }
  if (install) install->SetReboot(true);
  if (MoveFileAtRestart(written, dest) || !install) return;

  std::string batch = WriteRestartBatch(oldPath, newPath);
  install->AddUnfinished(batch, 1);
  if (!RegisterRunOnce("QuenloftBatFile", batch, true))
    throw IECustomInstallFile(
        "%s cannot register a routine in the register to move the files after the computer is reboot", {Name()});
}

} // namespace qnl
