// The restart test project's handlers.
#include "tests/e2e/projects/restart/formMain.h"

#include <cstdlib>
#include <fstream>

namespace qnl {

QNL_BEGIN_CLASS(TformMain)
    .Method("Install1AfterNotifyGoodInstall", &C::Install1AfterNotifyGoodInstall)
    .Method("Install1AfterNotifyBadInstall", &C::Install1AfterNotifyBadInstall)
    .Method("Install1BeforeReboot", &C::Install1BeforeReboot)
    .Method("Install1FailedReboot", &C::Install1FailedReboot)
    .Method("Install1AfterInitialized", &C::Install1AfterInitialized);
QNL_END_CLASS

namespace {

void Mark(const char* Event) {
  const char* path = std::getenv("QNL_RESTART_MARKERS");
  if (!path || !*path) return;
  std::ofstream(path, std::ios::app) << Event << "\n";
}

bool EnvironmentSays(const char* Name, const char* Value) {
  const char* v = std::getenv(Name);
  return v && std::string(v) == Value;
}

} // namespace

void TformMain::Install1AfterNotifyGoodInstall(TObject*) { Mark("good-install"); }

void TformMain::Install1AfterNotifyBadInstall(TObject*) { Mark("bad-install"); }

void TformMain::Install1BeforeReboot(TCustomInstall*, bool& Continue) {
  Mark("before-reboot");
  if (EnvironmentSays("QNL_RESTART_DECLINE", "1")) Continue = false;
}

void TformMain::Install1FailedReboot(TObject*) { Mark("failed-reboot"); }

void TformMain::Install1AfterInitialized(TObject*) { Mark("initialized"); }

} // namespace qnl
