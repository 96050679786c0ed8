// The list of engine classes a project may hold.
#include "engine/RegisterEngineClasses.h"

#include <initializer_list>

#include "engine/BuiltInPathSpecifiers.h"
#include "engine/TInstall.h"
#include "engine/TInstallDirectory.h"
#include "engine/TInstallFile.h"
#include "engine/TInstallGroup.h"
#include "engine/TpsFileContainer.h"
#include "engine/cmp_TUninstallEXE.h"
#include "net/cmp_TNetInstallLocation.h"
#include "rtl/EventTypes.h"
#include "rtl/TypInfo.h"

namespace qnl {

void RegisterEngineClasses() {
  // The object model's own classes are bases that no project stores; the concrete classes
  // (install component, groups, directories, files, uninstaller) join this list.
  std::initializer_list<const TClassInfo*> classes = {
      &TInstallGroup::StaticClassInfo(), &TInstallDirectory::StaticClassInfo(), &TInstallFile::StaticClassInfo(),
      &TpsFileContainer::StaticClassInfo(), &TUninstallEXE::StaticClassInfo()};
  for (const TClassInfo* info : classes) RegisterClass(*info);
  RegisterClass(TInstall::StaticClassInfo());
  RegisterEventType<TInstallContainerNotifyEvent>("TInstallContainerNotifyEvent", {"Container"});
  RegisterEventType<TAfterInstallObjectsEvent>("TAfterInstallObjectsEvent", {"Container", "WasAborted"});
  RegisterEventType<TInstallFileNotifyEvent>("TInstallFileNotifyEvent", {"InstallFile"});
  RegisterEventType<TInstallFileStatusEvent>("TInstallFileStatusEvent",
                                             {"InstallFile", "FilePercentDone", "TotalPercentDone"});
  RegisterEventType<TInstallFileNewDiskEvent>("TInstallFileNewDiskEvent", {"InstallFile", "NewDisk", "Path"});
  RegisterEventType<TRebootWindowsEvent>("TRebootWindowsEvent", {"Install", "Continue"});
  RegisterEventType<TBeforeRunFileEvent>("TBeforeRunFileEvent", {"Install", "FileToRun", "DefaultAction"});
  RegisterEventType<TUserAbortEvent>("TUserAbortEvent", {"Install", "QuitOut"});
  RegisterEventType<TCleanupEvent>("TCleanupEvent", {"Install", "Continue"});
  RegisterPathSpecifierClasses();
  RegisterNetClasses();
}

} // namespace qnl
