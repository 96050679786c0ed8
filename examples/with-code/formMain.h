// The main form of the example project with code of its own: the handlers its events name.
#pragma once

#include "engine/TCustomInstall.h"
#include "vcl/Form.h"

namespace qnl {

// The example's main form: publishes the two handlers formMain.txt binds to the install
// component's events. Everything else comes from the stored project.
class TformMain : public TForm {
  QNL_CLASS(TformMain, TForm)
public:
  explicit TformMain(TComponent* AOwner) : TForm(AOwner) {}

  // OnAfterInitialized: titles the window after the product, before any dialog shows.
  void Install1AfterInitialized(TObject* Sender);
  // OnBeforeRunFile: asks before starting a file that runs after the installation.
  void Install1BeforeRunFile(TCustomInstall* Install, TCustomInstallFile* FileToRun, bool& DefaultAction);
};

} // namespace qnl
