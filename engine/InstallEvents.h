// The event types of installation components.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace qnl {

class TObject;
class TInstallContainer;
class TCustomInstallFile;

using TInstallContainerNotifyEvent = std::function<void(TInstallContainer* Container)>;
using TAfterInstallObjectsEvent = std::function<void(TInstallContainer* Container, bool WasAborted)>;
// Download progress; Buffer holds the received block, or is null when only figures travel.
using TDataReceivedEvent = std::function<void(TObject* Sender, const std::string& FileName, int32_t Bytes,
                                              int32_t TotalBytes, int32_t FileSize, const void* Buffer)>;
using TInstallFileStatusEvent =
    std::function<void(TCustomInstallFile* InstallFile, int32_t FilePercentDone, int32_t TotalPercentDone)>;
// Path is in/out: the directory where the archive of NewDisk is expected.
using TInstallFileNewDiskEvent =
    std::function<void(TCustomInstallFile* InstallFile, int32_t NewDisk, std::string& Path)>;
using TInstallFileNotifyEvent = std::function<void(TCustomInstallFile* InstallFile)>;

} // namespace qnl
