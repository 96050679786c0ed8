// The net-archive operations of a file-related component: its location and the download.
#include "engine/InstallSession.h"
#include "engine/TCustomInstall.h"
#include "engine/TCustomInstallFile.h"
#include "engine/TFileContainer.h"
#include "engine/TFileRelated.h"

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
  if (!FindNetLocation()) throw IEFileRel_NoNetLocation("Could not find a net install location for %s", {Name()});
  // The login information lives in the net location component, which is not built yet.
  throw ENotImplemented("TFileRelated.NetArchivePath (net location login information)");
}

void TFileRelated::DownloadArchive() {
  if (std::optional<std::string> path = LookupLocalFile()) {
    SetLocalArchive(*path);
    return;
  }
  if (!FindNetLocation()) throw Exception("Could not find a net install location for " + Name());
  throw ENotImplemented("TFileRelated.DownloadArchive (net location transfer)");
}

} // namespace qnl
