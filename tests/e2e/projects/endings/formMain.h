// The main form of the end-to-end projects with handlers: each handler leaves a line in the
// machine's C:\markers\events.log, so that a test sees which events fired and in what order.
#pragma once

#include "engine/TCustomInstall.h"
#include "engine/TInstallContainer.h"
#include "vcl/Form.h"

namespace qnl {

// The handlers every project of the installation-endings tests may name; each appends one
// line to the event log and acts as its name says.
class TformMain : public TForm {
  QNL_CLASS(TformMain, TForm)
public:
  // Registers the wizard pages A, B and C of the dialog tests: a project with a dialog manager
  // before the installation shows them.
  explicit TformMain(TComponent* AOwner);

  // The machine file the handlers append their lines to.
  static constexpr const char* kEventLog = "C:\\markers\\events.log";

  // "AfterInitialized <record key> <1 when the key exists in the registry, else 0>".
  void RecordInstallRecord(TObject* Sender);
  void MarkBeforeGoodInstall(TObject* Sender);
  void MarkAfterGoodInstall(TObject* Sender);
  void MarkBeforeBadInstall(TObject* Sender);
  void MarkAfterBadInstall(TObject* Sender);
  // "RunFile <component> terminated=<0|1>": lets a file run unless its component's name
  // starts with "Skip".
  void RecordRunFile(TCustomInstall* Install, TCustomInstallFile* FileToRun, bool& DefaultAction);
  // OnBeforeShutdown: keeps the program running after its ending.
  void KeepRunning(TCustomInstall* Install, bool& QuitOut);
  // OnBeforeInstallObjects: the user gives up before the files are installed.
  void AbortInstallation(TInstallContainer* Container);
  // OnActivate of a project whose installation does not run automatically: runs it, notes
  // whether the installation ended the program, then ends it.
  void StartInstallation(TObject* Sender);

private:
  static void Log(const std::string& Line);
};

} // namespace qnl
