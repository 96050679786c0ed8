// Net install locations: an FTP or HTTP server that files are downloaded from.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/types_Quenloft.h"
#include "rtl/Classes.h"
#include "rtl/TypInfo.h"

namespace qnl {

class TWinINet;
class TInetSession;
class TInetConnection;
class TInetFile;
class TCustomNetInstallLocation;

QNL_ENUM(TInternetProtocol, ipFTP, ipHTTP)

class TCustomLoginInformation : public TPersistent {
  QNL_CLASS(TCustomLoginInformation, TPersistent)
};

// Where and how a location logs in. Hostname may carry a scheme (https://host) and a port.
class TLoginInformation : public TCustomLoginInformation {
  QNL_CLASS(TLoginInformation, TCustomLoginInformation)
public:
  explicit TLoginInformation(TCustomNetInstallLocation* Location = nullptr) : FLocation(Location) {}
  void Assign(const TPersistent* Source) override;
  TCustomNetInstallLocation* Location() const { return FLocation; }

  bool FAnonymous = true;
  std::string FDirectory;
  std::string FHostname;
  std::string FPassword;
  TInternetProtocol FProtocol = ipHTTP;
  std::string FUsername;

private:
  TCustomNetInstallLocation* FLocation;
};

// Anonymous: a host is given; otherwise at least one of host, user name and password.
bool IsFilledIn(const TLoginInformation& Login);
// A directory as the server sees it: "/" when blank, "\" turned into "/".
std::string ServerPath(const std::string& Text);

using TAfterDownloadEvent = std::function<void(TObject* Sender, bool Aborted)>;

// One server. The library is loaded and the session opened by its first use; its server
// connection stays open across downloads until CloseConnection or its destruction. Every
// location is in the process-wide list while it lives.
class TCustomNetInstallLocation : public TComponent {
  QNL_CLASS(TCustomNetInstallLocation, TComponent)
public:
  explicit TCustomNetInstallLocation(TComponent* AOwner);
  ~TCustomNetInstallLocation() override;

  TLoginInformation* LoginInformation() const { return FLoginInformation.get(); }
  void SetLoginInformation(const TLoginInformation* Value) { AssignLoginInformation(Value); }
  bool LibraryLoaded() const { return FLibrary != nullptr; }

  TAfterDownloadEvent OnAfterDownload;
  TNotifyEvent OnAfterConnect;
  TNotifyEvent OnBeforeDownload;
  TNotifyEvent OnBeforeConnect;
  TDataReceivedEvent OnDataReceived;
  // Set for the time of one download by the component that asked for it.
  TDataReceivedEvent ProgressReceiver;

  virtual void LoadWinINet();
  virtual void AssignLoginInformation(const TPersistent* Source);
  virtual void Connect();
  // Fetches RemoteFile of the location's directory into LocalFile. Stops quietly when the
  // net abort flag is set (OnAfterDownload says Aborted); a failure raises an ENIL error.
  virtual void Download(const std::string& RemoteFile, const std::string& LocalFile);
  // Closes the server connection and the session.
  void CloseConnection();

private:
  void OpenRemoteFile();
  int64_t QueryFileSize();
  void ReceiveFile();
  void CloseRemoteFile();

  std::string FLocalFile;
  std::string FRemoteFile;
  std::unique_ptr<TWinINet> FLibrary;
  std::unique_ptr<TInetSession> FSession;
  std::unique_ptr<TInetConnection> FConnection;
  std::unique_ptr<TInetFile> FFile;
  std::unique_ptr<TLoginInformation> FLoginInformation;
};

// The location a project stores: its login information is published.
class TNetInstallLocation : public TCustomNetInstallLocation {
  QNL_CLASS(TNetInstallLocation, TCustomNetInstallLocation)
public:
  using TCustomNetInstallLocation::TCustomNetInstallLocation;
};

// The process-wide list of every location, in creation order.
class TCustomNetInstallLocationList {
public:
  void Add(TCustomNetInstallLocation* Location);
  void Remove(TCustomNetInstallLocation* Location);
  int Count() const { return static_cast<int>(FItems.size()); }
  TCustomNetInstallLocation* Items(int Index) const { return FItems[static_cast<size_t>(Index)]; }

private:
  std::vector<TCustomNetInstallLocation*> FItems;
};
TCustomNetInstallLocationList& NetLocations();

// The location that connected last (named in the error messages); null when none.
TCustomNetInstallLocation* LastConnectedLocation();
void SetLastConnectedLocation(TCustomNetInstallLocation* Location);
// The net abort flag: set by a Cancel, it stops the running download at its next block.
bool NetAbort();
void SetNetAbort(bool Value);
// The server's last response, "No server response" when there is none.
std::string LastResponseText();

// Registers TNetInstallLocation and its login information with the class registry.
void RegisterNetClasses();

} // namespace qnl
