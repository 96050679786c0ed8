// The install component's installation phases: the notices, the user-abort question and
// the exception handler; the phases built with the installation sequence say so.
#include "engine/TCustomInstall.h"

namespace qnl {

void TCustomInstall::Process() { throw ENotImplemented("TInstall.Process"); }

void TCustomInstall::ContinueAfterReboot() { throw ENotImplemented("TInstall.ContinueAfterReboot"); }

void TCustomInstall::NotifyGoodInstall() {
  if (OnBeforeNotifyGoodInstall) OnBeforeNotifyGoodInstall(this);
  Notify(icGoodInstall);
  Notify(icAfterGoodInstallNotice);
  if (OnAfterNotifyGoodInstall) OnAfterNotifyGoodInstall(this);
}

void TCustomInstall::NotifyBadInstall() {
  if (OnBeforeNotifyBadInstall) OnBeforeNotifyBadInstall(this);
  Notify(icBadInstall);
  Notify(icAfterBadInstallNotice);
  if (OnAfterNotifyBadInstall) OnAfterNotifyBadInstall(this);
}

// Errors raised outside an installation are shown and end the program; the bad ending of
// a running installation arrives with the installation sequence.
void TCustomInstall::HandleException(TObject* Sender, const std::exception& E) {
  if (FRunning) {
    FRunning = false;
    FEnded = true;
  }
  Application().ShowException(E);
  // The program ends through an error: its exit status must say so.
  Application().SetExitCode(1);
  Application().Terminate();
}

void TCustomInstall::RemoveDownloadsAndRecord() { throw ENotImplemented("TInstall.RemoveDownloadsAndRecord"); }
void TCustomInstall::InstallObjectsOfType(int32_t, const std::string&) {
  throw ENotImplemented("TInstall.InstallObjectsOfType");
}
void TCustomInstall::RunFilesAfterInstall() { throw ENotImplemented("TInstall.RunFilesAfterInstall"); }
void TCustomInstall::RegisterRunOnce() { throw ENotImplemented("TInstall.RegisterRunOnce"); }
void TCustomInstall::Build(const std::string&, const std::string&, bool) { throw ENotImplemented("TInstall.Build"); }
void TCustomInstall::Cleanup() { throw ENotImplemented("TInstall.Cleanup"); }
void TCustomInstall::CompressSetupArchive(const std::string&, const std::string&) {
  throw ENotImplemented("TInstall.CompressSetupArchive");
}
void TCustomInstall::ReadUnfinished(TStrings*) { throw ENotImplemented("TInstall.ReadUnfinished"); }
void TCustomInstall::ClearUnfinished() { throw ENotImplemented("TInstall.ClearUnfinished"); }
void TCustomInstall::AddUnfinished(const std::string&, int32_t) { throw ENotImplemented("TInstall.AddUnfinished"); }

} // namespace qnl
