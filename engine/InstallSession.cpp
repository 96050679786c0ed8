// What the engine keeps for the whole process.
#include "engine/InstallSession.h"

namespace qnl {

void TInstallSession::Reset() {
  FailedRegistrations.Clear();
  DeferRegistrationFailures = false;
  InstallRecordKey.clear();
  NameClashCounter = 0;
  RunState = TInstallRunState{};
  StartTime = 0;
  CurrentNetLocation = nullptr;
  UniqueIDs.Reset();
  LookOnly = false;
}

TInstallSession& InstallSession() {
  static TInstallSession session;
  return session;
}

} // namespace qnl
