// The net-archive operations of a file-related component: its location and the download.
#include "common/routines_API.h"
#include "common/routines_Strings.h"
#include "engine/InstallSession.h"
#include "engine/NetDownload.h"
#include "engine/TCustomInstall.h"
#include "engine/TCustomInstallFile.h"
#include "engine/TFileContainer.h"
#include "engine/TFileRelated.h"
#include "net/cmp_TNetInstallLocation.h"
#include "platform/files/Files.h"

namespace qnl {

std::string CleanNetArchiveText(const std::string& Text) {
  std::string clean;
  for (char c : Text) {
    if (c == '/')
      clean += '-';
    else if (std::string_view("\"*:;<>?\\|").find(c) == std::string_view::npos)
      clean += c;
  }
  return clean;
}

TComponent* TFileRelated::FindNetLocation() const {
  if (FNetLocation) return FNetLocation;
  if (dynamic_cast<const TCustomInstallFile*>(this)) {
    // A file in a container of another kind has no inherited location.
    if (auto* container = dynamic_cast<TFileContainer*>(Container())) return container->FindNetLocation();
    if (Container()) return nullptr;
  }
  if (TCustomInstall* install = TCustomInstall::Current(); install && install->NetLocation())
    return install->NetLocation();
  return InstallSession().CurrentNetLocation;
}

std::string TFileRelated::NetArchivePath() const {
  TComponent* found = FindNetLocation();
  if (!found) throw IEFileRel_NoNetLocation("Could not find a net install location for %s", {Name()});
  const TLoginInformation& login = *AsNetLocation(found).LoginInformation();
  std::string directory = Trim(login.FDirectory).empty()
                              ? (login.FProtocol == ipFTP ? "FTP Root directory" : "HTTP Root directory")
                              : CleanNetArchiveText(login.FDirectory);
  return CleanNetArchiveText(login.FHostname) + "\\" + directory;
}

void TFileRelated::DownloadArchive() {
  if (std::optional<std::string> path = LookupLocalFile()) {
    SetLocalArchive(*path);
    return;
  }
  TComponent* found = FindNetLocation();
  if (!found) throw Exception("Could not find a net install location for " + Name());
  TCustomNetInstallLocation& location = AsNetLocation(found);
  if (!IsFilledIn(*location.LoginInformation())) {
    if (FNetLocation)
      throw IEFileRelated("%s could not install itself because the TNetLocation component's properties, in the "
                          "NetLocation property, have not been filled in",
                          {Name()});
    throw IEFileRelated("%s could not install itself because the LoginInformation property of the TInstall "
                        "component has not been properly filled in",
                        {Name()});
  }
  // The temporary name reserves the ".1" file beside it; the archive itself is the ".1".
  std::string reserved = GetTempFile(TTempFileKeep::tkKeep);
  SetLocalArchive(ChangeFileExt(reserved, ".1"));
  try {
    DownloadInto(location, Name() + ".1", LocalArchive(),
                 [this](TObject* Sender, const std::string& FileName, int32_t Bytes, int32_t TotalBytes,
                        int32_t FileSize,
                        const void* Buffer) { DataReceived(Sender, FileName, Bytes, TotalBytes, FileSize, Buffer); });
  } catch (...) {
    TryDeleteFile(reserved);
    SetLocalArchive("");
    throw;
  }
  TryDeleteFile(reserved);
  StoreLocalFile(LocalArchive());
}

} // namespace qnl
