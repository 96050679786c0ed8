// Helpers of the installation sequence tests: a machine of its own, an install component with
// a real install record, an application that keeps what it shows, and components that write
// what happens to them into one log.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/TInstallObject.h"
#include "engine/cmp_TInstall.h"
#include "tests/paths/PathsTestSupport.h"
#include "tests/support/TestFiles.h"

namespace qnl::test {

// What happened during one test, in order.
std::vector<std::string>& SequenceLog();

// A windowless application that logs the errors it shows and the message boxes it opens.
class TKeepingApplication : public TCustomApplication {
public:
  TKeepingApplication();
  void ShowException(const std::exception& E) override;
  std::vector<std::string> Shown;
  std::vector<std::string> Boxes;
};

// An install component whose record lookup can be refused, as when the registry cannot be written.
class TSequenceInstall : public TInstall {
public:
  using TInstall::TInstall;
  bool RefuseRecord = false;
  std::string FindInstallRecord(bool Create) override {
    return RefuseRecord ? "" : TInstall::FindInstallRecord(Create);
  }
};

// A receiver of the install component's broadcasts (registered type 2000, as a dialog) that
// logs each code by its name ("icPushStatusMessage text" for a status text), then runs OnCode.
class TCodeRecorder : public TInstallObject {
  QNL_CLASS(TCodeRecorder, TInstallObject)
public:
  explicit TCodeRecorder(TComponent* AOwner);
  int32_t RegisteredType() const override { return 2000; }
  void InformationEvent(TObject* Sender, int32_t Code, TObject* PO) override;
  std::function<void(int32_t Code)> OnCode;
};

// A component installed by its registered type after the file pass: logs "Process Name" and
// "Continue Name", and counts its continuations after the restart.
class TTypedComponent : public TInstallObject {
  QNL_CLASS(TTypedComponent, TInstallObject)
public:
  TTypedComponent(TComponent* AOwner, const std::string& AName, int32_t AType);
  int32_t RegisteredType() const override { return FType; }
  void Process() override;
  void ContinueAfterReboot() override;
  std::function<void()> OnProcess;
  std::function<void()> OnContinue;
  int Continued = 0;

private:
  int32_t FType;
};

// A fresh machine, application and form with an install component (logging its events) and a
// code recorder among its helpers.
class SequenceTest : public TMachineTest {
protected:
  void SetUp() override;
  void TearDown() override;
  // The loaded notification with these program arguments.
  void Load(std::vector<std::string> Args);
  // Runs Process as the main window's activation does: what leaves it goes to the
  // application's exception handler.
  void Run();
  // The install component's events write themselves into the log.
  void LogEvents();
  static bool KeyExists(const std::string& Key);
  // The log from the first entry equal to From on (empty when none).
  static std::vector<std::string> LogFrom(const std::string& From);

  std::unique_ptr<TKeepingApplication> FApp;
  std::unique_ptr<TCustomForm> FOrm;
  TSequenceInstall* FInstall = nullptr;
  TCodeRecorder* FRecorder = nullptr;
};

using TLines = std::vector<std::string>;

} // namespace qnl::test
