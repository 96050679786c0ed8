// The process-wide registries of the installation object model, one set per process.
#pragma once

#include <functional>
#include <string>

#include "engine/InstallLists.h"
#include "rtl/Classes.h"

namespace qnl {

// Each registry is created on first use, before any component asks for it, and freed at exit.

// Every installation container, in creation order; containers add and remove themselves.
TInstallContainerList& AllContainers();
// Every install file, in creation order.
TCustomInstallFileList& AllInstallFiles();
// Install files whose self-registration failed.
TCustomInstallFileList& FailedRegistrationFiles();
// Every base dialog form (not owned).
TList& BaseDialogForms();
// The key of this setup program's install record; empty until the install component sets it.
std::string& InstallRecordKey();
// Counter for renaming clashing component names; starts at 0, incremented before each use.
int& NameClashCounter();

// What containers need to know of the running install component. Whether one exists at all
// is CurrentInstallComponent() (paths/IInstallComponent.h); the install component fills
// these while it exists and clears them when it goes.
struct TInstallRunState {
  // The installation run is active: an object then waits for its container to be processed.
  bool RunActive = false;
  // The install component's Information.ProductName, which keys the uninstall entry.
  std::function<std::string()> ProductName;
};
TInstallRunState& InstallRunState();

} // namespace qnl
