// Downloads of the installation from its net locations.
#include "engine/NetDownload.h"

#include "common/exceptions_Quenloft.h"
#include "common/routines_API.h"
#include "engine/exceptions_Engine.h"
#include "net/cmp_TNetInstallLocation.h"

namespace qnl {

TCustomNetInstallLocation& AsNetLocation(TComponent* Component) {
  auto* location = dynamic_cast<TCustomNetInstallLocation*>(Component);
  if (!location) throw IEFileRelated("%s is not a net install location (TNetInstallLocation)", {Component->Name()});
  return *location;
}

void DownloadInto(TCustomNetInstallLocation& Location, const std::string& RemoteFile, const std::string& LocalFile,
                  TDataReceivedEvent Receiver) {
  Location.ProgressReceiver = std::move(Receiver);
  try {
    Location.Download(RemoteFile, LocalFile);
  } catch (...) {
    Location.ProgressReceiver = nullptr;
    TryDeleteFile(LocalFile);
    if (NetAbort()) throw EQXUserAbort();
    throw;
  }
  Location.ProgressReceiver = nullptr;
  if (NetAbort()) {
    TryDeleteFile(LocalFile);
    throw EQXUserAbort();
  }
}

} // namespace qnl
