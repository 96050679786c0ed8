// Downloads of the installation from its net locations.
#pragma once

#include <string>

#include "common/types_Quenloft.h"

namespace qnl {

class TComponent;
class TCustomNetInstallLocation;

// The net location a NetLocation reference names; IEFileRelated when it is another kind of
// component.
TCustomNetInstallLocation& AsNetLocation(TComponent* Component);

// Downloads RemoteFile of Location into LocalFile with Receiver as its progress receiver for
// the time of the download. The file is whole when this returns: a failed download deletes
// the part received, and one aborted by the user (the net abort flag) deletes it and raises
// EQXUserAbort.
void DownloadInto(TCustomNetInstallLocation& Location, const std::string& RemoteFile, const std::string& LocalFile,
                  TDataReceivedEvent Receiver = nullptr);

} // namespace qnl
