// The event types of installation components.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "common/types_Quenloft.h"

namespace qnl {

class TObject;
class TInstallContainer;
class TCustomInstallFile;

using TInstallContainerNotifyEvent = std::function<void(TInstallContainer* Container)>;
using TAfterInstallObjectsEvent = std::function<void(TInstallContainer* Container, bool WasAborted)>;
using TInstallFileStatusEvent =
    std::function<void(TCustomInstallFile* InstallFile, int32_t FilePercentDone, int32_t TotalPercentDone)>;
// Path is in/out: the directory where the archive of NewDisk is expected.
using TInstallFileNewDiskEvent =
    std::function<void(TCustomInstallFile* InstallFile, int32_t NewDisk, std::string& Path)>;
using TInstallFileNotifyEvent = std::function<void(TCustomInstallFile* InstallFile)>;

} // namespace qnl
