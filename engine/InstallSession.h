// What the engine keeps for the whole process: the registries components add themselves to,
// and the state of the installation that is running. One object, so that a test can put it
// back with one call.
#pragma once

#include <functional>
#include <string>

#include "engine/InstallLists.h"
#include "engine/UniqueIDTable.h"
#include "rtl/Classes.h"
#include "rtl/DateTime.h"

namespace qnl {

// What containers need to know of the running install component. Whether one exists at all
// is CurrentInstallComponent() (paths/IInstallComponent.h); the install component fills
// these while it exists and clears them when it goes.
struct TInstallRunState {
  // The installation run is active: an object then waits for its container to be processed.
  bool RunActive = false;
  // The install component's Information.ProductName, which keys the uninstall entry.
  std::function<std::string()> ProductName;
};

class TInstallSession {
public:
  // Registries of live objects, which add and remove themselves: every installation container
  // and every install file in creation order, and every base dialog form (not owned).
  TInstallContainerList Containers;
  TCustomInstallFileList InstallFiles;
  TList BaseDialogForms;

  // Install files whose self-registration failed during a pass, to be tried once more after
  // it, and whether a failure is deferred so (the install component sets it for its pass).
  TCustomInstallFileList FailedRegistrations;
  bool DeferRegistrationFailures = false;
  // The key of this setup program's install record; empty until the install component sets it.
  std::string InstallRecordKey;
  // Counter for renaming clashing component names; incremented before each use.
  int NameClashCounter = 0;
  TInstallRunState RunState;
  // The start time of the current installation (0 until one starts).
  TDateTime StartTime = 0;
  // The net location the installation currently uses (the install component's NetLocation).
  TComponent* CurrentNetLocation = nullptr;
  // The install files' UniqueIDs in use.
  TUniqueIDTable UniqueIDs;
  // The project is loaded only to be looked at: the install component neither looks up its
  // install record (which would stamp it) nor chooses a run mode (nothing starts on the main
  // form's activation).
  bool LookOnly = false;

  // Back to the state of a process in which no installation ran: everything above except the
  // registries of live objects, which belong to the objects.
  void Reset();
};

// The one session of the process, created on first use.
TInstallSession& InstallSession();

} // namespace qnl
