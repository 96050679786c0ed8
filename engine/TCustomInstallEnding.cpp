// How an installation ends: the exception handler's bad ending, the removal of the temporary
// setup directory, and the removal of the install record and the downloaded archives.
#include "common/routines_API.h"
#include "common/routines_Strings.h"
#include "engine/DeferredRegistrations.h"
#include "engine/InstallLogSteps.h"
#include "engine/InstallSession.h"
#include "engine/TCustomInstall.h"
#include "engine/exceptions_Engine.h"
#include "platform/files/FileStream.h"
#include "platform/files/Files.h"
#include "platform/registry/Registry.h"
#include "settings/routines_Registry.h"

namespace qnl {

namespace {

constexpr int kLocalMachine = 4;
constexpr const char* kQuenloftKey = "\\Software\\Quenloft";

// Runs one step of a bad ending; what fails there is swallowed, and a program that runs
// automatically then ends.
template <class Step>
void Swallowing(bool Terminate, Step&& Body) {
  try {
    Body();
  } catch (...) {
    if (Terminate) Application().Terminate();
  }
}

// True when Dir lies inside Parent (both Windows paths, compared without letter case).
bool IsBelow(const std::string& Dir, const std::string& Parent) {
  std::string parent = AddBackSlash(Parent);
  return Dir.size() > parent.size() && SameText(Dir.substr(0, parent.size()), parent);
}

// One line of the clean-up batch. The path is quoted: unquoted, a path with blanks reads as
// several words, and a run of blanks would not survive the reading.
std::string BatchLine(const std::string& Command, const std::string& Path) {
  return Format("%s \"%s\"\r\n", {Command, Path});
}

void DeleteIfEmpty(const std::string& Key) {
  std::optional<TRegKey> key = TRegKey::Open(TRootKey::rkLocalMachine, Key);
  if (key && !key->HasSubKeys()) TRegKey::Delete(TRootKey::rkLocalMachine, Key);
}

} // namespace

void TCustomInstall::HandleException(TObject* /*Sender*/, const std::exception& E) {
  if (!FRunning) {
    Application().ShowException(E);
    return;
  }
  SetRunning(false);
  FEnded = true;
  LogInstallError(E.what());
  // A registration failing after this installation is an error of its own again.
  InstallSession().DeferRegistrationFailures = false;
  if (dynamic_cast<const EQXUserAbort*>(&E)) {
    Application().SetExitCode(kExitUserAbort);
    Swallowing(FRunAutomatic, [this] {
      NotifyBadInstall();
      Cleanup();
      RemoveDownloadsAndRecord();
      if (FRunAutomatic) Shutdown();
    });
    return;
  }
  // The temporary setup directory and the install record stay for another attempt. The error
  // is shown also when the bad ending's own dialogs fail (without a display they fail too),
  // or the user would never learn why the installation stopped.
  Application().SetExitCode(dynamic_cast<const EAnswerFile*>(&E) ? kExitAnswerFile : kExitFailed);
  Swallowing(FRunAutomatic, [this] { NotifyBadInstall(); });
  Swallowing(FRunAutomatic, [this, &E] {
    Application().ShowException(E);
    Shutdown();
  });
}

void TCustomInstall::Cleanup() {
  if (!FUseLoadingProgram || HasSwitch(swDebug) || !HasSwitch(swCleanup) || IsDesigning()) return;
  bool proceed = true;
  if (OnBeforeCleanup) OnBeforeCleanup(this, proceed);
  if (!proceed) return;

  std::string program = GetModuleName();
  std::string programDir = ExtractFileDir(program);
  for (int i = 0; i < FPresetupFiles->Count(); ++i)
    TryDeleteFile(AddBackSlash(programDir) + ExtractFileName(FPresetupFiles->Get(i)));

  // The whole directory goes: only a directory the loading program made among the
  // temporary files may be removed, never a build or source directory given -c by mistake.
  if (!IsBelow(programDir, GetTempDir())) return;
  std::string batch;
  try {
    batch = ChangeFileExt(GetTempFile(TTempFileKeep::tkDelete), ".bat");
    std::string text = BatchLine("ERASE", program) + BatchLine("DELTREE /Y", RemoveBackSlash(programDir)) +
                       BatchLine("ERASE", ChangeFileExt(batch, ".PIF")) + BatchLine("ERASE", batch);
    TFileStream stream(batch, fmCreate);
    stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
  } catch (const Exception& e) {
    // Everything is installed by now: a batch that cannot be written (a full disk) only leaves
    // the temporary directory behind, which the user is told about. A partial batch is no
    // use to anyone and goes.
    if (!batch.empty()) TryDeleteFile(batch);
    Application().MessageBox(
        Format(TranslateMessage("The temporary directory %s could not be removed (%s). You can delete it yourself."),
               {RemoveBackSlash(programDir), e.Message()}),
        Application().Title(), MB_OK | MB_ICONWARNING);
    return;
  }
  FCleanupBatchFile = batch;
  FCleanupBatchWritten = true;
}

void TCustomInstall::RemoveDownloadsAndRecord() {
  const std::string record = InstallSession().InstallRecordKey;
  if (record.empty()) return;
  if (std::optional<TRegKey> key = TRegKey::Open(TRootKey::rkLocalMachine, record)) {
    for (const std::string& name : key->SubKeyNames()) {
      std::string sub = record + "\\" + name;
      std::string local = Trim(RegReadString(kLocalMachine, sub, "LocalFile", ""));
      if (!local.empty()) TryDeleteFile(local);
      RegDeleteKeyTree(kLocalMachine, sub);
    }
  }
  RegDeleteKeyTree(kLocalMachine, record);
  DeleteIfEmpty(kInstallRecordParent);
  DeleteIfEmpty(kQuenloftKey);
}

} // namespace qnl
