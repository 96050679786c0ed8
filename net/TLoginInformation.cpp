// The login information of a net location, and the process-wide state of the locations.
#include "common/routines_Strings.h"
#include "net/cmp_TNetInstallLocation.h"
#include "net/exceptions_Net.h"
#include "platform/inet/WinINet.h"
#include "rtl/EventTypes.h"

namespace qnl {

QNL_BEGIN_CLASS(TCustomLoginInformation);
QNL_END_CLASS

QNL_BEGIN_CLASS(TLoginInformation)
    .Prop("Anonymous", &C::FAnonymous)
    .Prop("Directory", &C::FDirectory)
    .Prop("Hostname", &C::FHostname)
    .Prop("Password", &C::FPassword)
    .Prop("Protocol", &C::FProtocol)
    .Prop("Username", &C::FUsername);
QNL_END_CLASS

void TLoginInformation::Assign(const TPersistent* Source) {
  auto* other = dynamic_cast<const TLoginInformation*>(Source);
  if (!other) {
    inherited::Assign(Source);
    return;
  }
  FAnonymous = other->FAnonymous;
  FDirectory = other->FDirectory;
  FHostname = other->FHostname;
  FPassword = other->FPassword;
  FProtocol = other->FProtocol;
  FUsername = other->FUsername;
}

bool IsFilledIn(const TLoginInformation& Login) {
  if (Login.FAnonymous) return !Trim(Login.FHostname).empty();
  return !Trim(Login.FHostname).empty() || !Trim(Login.FPassword).empty() || !Trim(Login.FUsername).empty();
}

std::string ServerPath(const std::string& Text) {
  if (Trim(Text).empty()) return "/";
  std::string path = Text;
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

namespace {
TCustomNetInstallLocation* gLastConnected = nullptr;
bool gNetAbort = false;
} // namespace

TCustomNetInstallLocationList& NetLocations() {
  static TCustomNetInstallLocationList list;
  return list;
}

void TCustomNetInstallLocationList::Add(TCustomNetInstallLocation* Location) {
  if (!Location) throw IENetList("Cannot add a blank location to the global net location list");
  FItems.push_back(Location);
}

void TCustomNetInstallLocationList::Remove(TCustomNetInstallLocation* Location) { std::erase(FItems, Location); }

TCustomNetInstallLocation* LastConnectedLocation() { return gLastConnected; }
void SetLastConnectedLocation(TCustomNetInstallLocation* Location) { gLastConnected = Location; }
bool NetAbort() { return gNetAbort; }
void SetNetAbort(bool Value) { gNetAbort = Value; }

std::string LastResponseText() {
  std::string text = InetLastResponse();
  if (text.size() > 2999) text.resize(2999);
  return text.empty() ? "No server response" : text;
}

void RegisterNetClasses() {
  RegisterClass(TNetInstallLocation::StaticClassInfo());
  RegisterEventType<TAfterDownloadEvent>("TAfterDownloadEvent", {"Sender", "Aborted"});
  RegisterEventType<TDataReceivedEvent>("TDataReceivedEvent",
                                        {"Sender", "FileName", "Bytes", "TotalBytes", "FileSize", "Buffer"});
}

} // namespace qnl
