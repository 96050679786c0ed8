// The main form of the restart test project: handlers that leave a trace of each event they
// see, so that a test can tell which endings a run of the setup program took.
#pragma once

#include "engine/TCustomInstall.h"
#include "vcl/Form.h"

namespace qnl {

// Publishes the handlers the restart tests bind to the install component's events. Each one
// appends its event's name as a line to $QNL_RESTART_MARKERS (a Unix file; nothing when unset).
class TformMain : public TForm {
  QNL_CLASS(TformMain, TForm)
public:
  explicit TformMain(TComponent* AOwner) : TForm(AOwner) {}

  // OnAfterNotifyGoodInstall: the good ending was taken.
  void Install1AfterNotifyGoodInstall(TObject* Sender);
  // OnAfterNotifyBadInstall: the bad ending was taken.
  void Install1AfterNotifyBadInstall(TObject* Sender);
  // OnBeforeReboot: declines the restart when $QNL_RESTART_DECLINE is 1.
  void Install1BeforeReboot(TCustomInstall* Install, bool& Continue);
  // OnFailedReboot: the restart could not be asked for.
  void Install1FailedReboot(TObject* Sender);
  // OnAfterInitialized: an installation started (a continuation starts none).
  void Install1AfterInitialized(TObject* Sender);
};

} // namespace qnl
