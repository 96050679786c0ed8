// The process-wide registries of the installation object model.
#include "engine/InstallRegistries.h"

namespace qnl {

TInstallContainerList& AllContainers() {
  static TInstallContainerList list;
  return list;
}

TCustomInstallFileList& AllInstallFiles() {
  static TCustomInstallFileList list;
  return list;
}

TCustomInstallFileList& FailedRegistrationFiles() {
  static TCustomInstallFileList list;
  return list;
}

TList& BaseDialogForms() {
  static TList list;
  return list;
}

std::string& InstallRecordKey() {
  static std::string key;
  return key;
}

int& NameClashCounter() {
  static int counter = 0;
  return counter;
}

TInstallRunState& InstallRunState() {
  static TInstallRunState state;
  return state;
}

} // namespace qnl
