// The handlers of the end-to-end projects.
#include "tests/e2e/projects/endings/formMain.h"

#include "common/exceptions_Quenloft.h"
#include "common/routines_Strings.h"
#include "engine/InstallSession.h"
#include "engine/TCustomInstallFile.h"
#include "platform/files/FileStream.h"
#include "platform/files/Files.h"
#include "platform/registry/Registry.h"
#include "rtl/SysUtils.h"
#include "tests/dialogs/TestPages.h"

namespace qnl {

QNL_BEGIN_CLASS(TformMain)
    .Method("RecordInstallRecord", &C::RecordInstallRecord)
    .Method("MarkBeforeGoodInstall", &C::MarkBeforeGoodInstall)
    .Method("MarkAfterGoodInstall", &C::MarkAfterGoodInstall)
    .Method("MarkBeforeBadInstall", &C::MarkBeforeBadInstall)
    .Method("MarkAfterBadInstall", &C::MarkAfterBadInstall)
    .Method("RecordRunFile", &C::RecordRunFile)
    .Method("KeepRunning", &C::KeepRunning)
    .Method("AbortInstallation", &C::AbortInstallation)
    .Method("StartInstallation", &C::StartInstallation);
QNL_END_CLASS

TformMain::TformMain(TComponent* AOwner) : TForm(AOwner) { test::RegisterTestPages(); }

void TformMain::Log(const std::string& Line) {
  ForceDirectories(ExtractFileDir(kEventLog));
  uint16_t mode = FileExists(kEventLog) ? fmOpenReadWrite : fmCreate;
  TFileStream log(kEventLog, mode);
  log.Seek(0, soEnd);
  std::string text = Line + "\n";
  log.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void TformMain::RecordInstallRecord(TObject*) {
  const std::string& key = InstallSession().InstallRecordKey;
  bool exists = !key.empty() && TRegKey::Open(TRootKey::rkLocalMachine, key).has_value();
  Log("AfterInitialized " + key + " " + (exists ? "1" : "0"));
}

void TformMain::MarkBeforeGoodInstall(TObject*) { Log("BeforeGoodInstall"); }
void TformMain::MarkAfterGoodInstall(TObject*) { Log("AfterGoodInstall"); }
void TformMain::MarkBeforeBadInstall(TObject*) { Log("BeforeBadInstall"); }
void TformMain::MarkAfterBadInstall(TObject*) { Log("AfterBadInstall"); }

void TformMain::RecordRunFile(TCustomInstall*, TCustomInstallFile* FileToRun, bool& DefaultAction) {
  Log("RunFile " + FileToRun->Name() + " terminated=" + (Application().Terminated() ? "1" : "0"));
  if (UpperCase(FileToRun->Name()).rfind("SKIP", 0) == 0) DefaultAction = false;
}

void TformMain::KeepRunning(TCustomInstall*, bool& QuitOut) {
  Log("BeforeShutdown kept");
  QuitOut = false;
}

void TformMain::AbortInstallation(TInstallContainer* Container) {
  Log("BeforeInstallObjects " + Container->Name() + " abort");
  throw EQXUserAbort();
}

void TformMain::StartInstallation(TObject*) {
  auto* install = static_cast<TCustomInstall*>(FindComponent("Install1"));
  Log("Activate");
  install->Process();
  Log(std::string("Process returned terminated=") + (Application().Terminated() ? "1" : "0"));
  Application().Terminate();
}

} // namespace qnl
