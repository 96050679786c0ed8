// A net location's connection and downloads.
#include "net/cmp_TNetInstallLocation.h"
#include "net/exceptions_Net.h"
#include "platform/files/FileStream.h"
#include "platform/files/Files.h"
#include "platform/inet/WinINet.h"
#include "rtl/Forms.h"

namespace qnl {

namespace {
constexpr size_t kBlockSize = 8192;
constexpr size_t kWriteBatch = 256 * 1024;
} // namespace

QNL_BEGIN_CLASS(TCustomNetInstallLocation);
QNL_END_CLASS

QNL_BEGIN_CLASS(TNetInstallLocation)
    .Sub("LoginInformation", &C::LoginInformation)
    .Prop("OnAfterConnect", &C::OnAfterConnect)
    .Prop("OnAfterDownload", &C::OnAfterDownload)
    .Prop("OnBeforeConnect", &C::OnBeforeConnect)
    .Prop("OnBeforeDownload", &C::OnBeforeDownload)
    .Prop("OnDataReceived", &C::OnDataReceived);
QNL_END_CLASS

TCustomNetInstallLocation::TCustomNetInstallLocation(TComponent* AOwner)
    : TComponent(AOwner), FLoginInformation(std::make_unique<TLoginInformation>(this)) {
  NetLocations().Add(this);
}

TCustomNetInstallLocation::~TCustomNetInstallLocation() {
  if (LastConnectedLocation() == this) SetLastConnectedLocation(nullptr);
  FFile.reset();
  CloseConnection();
  FLibrary.reset();
  NetLocations().Remove(this);
}

void TCustomNetInstallLocation::AssignLoginInformation(const TPersistent* Source) { FLoginInformation->Assign(Source); }

void TCustomNetInstallLocation::LoadWinINet() {
  std::string missing;
  FLibrary = TWinINet::Load(missing);
  if (FLibrary) return;
  if (missing.empty())
    throw ENIL_FailLoadWININET("Failed to load the Wininet.dll. If this is a hybrid installation, you might want to "
                               "include the WININET.DLL file in the PresetupFiles property of the TInstall component");
  throw ENIL_FailLoadDLLProc("Failed to load the procedure " + missing + " from WININET.DLL");
}

void TCustomNetInstallLocation::Connect() {
  SetLastConnectedLocation(this);
  if (!FLibrary) LoadWinINet();
  if (!FSession) {
    FSession = TInetSession::Open(*FLibrary, Application().Name());
    if (!FSession) throw ENIL_OpenSession("Cannot open internet connection");
  }
  const TLoginInformation& login = *FLoginInformation;
  bool ftp = login.FProtocol == ipFTP;
  if (!FConnection) {
    if (OnBeforeConnect) OnBeforeConnect(this);
    TInetLogin credentials;
    if (!login.FAnonymous) credentials = {login.FUsername, login.FPassword};
    FConnection = TInetConnection::Connect(*FSession, login.FHostname, ftp ? TInetService::isFTP : TInetService::isHTTP,
                                           credentials);
    if (!FConnection) throw ENIL_OpenService("Cannot connect to host " + ShownHost(login.FHostname));
    if (OnAfterConnect) OnAfterConnect(this);
  }
  if (ftp) {
    std::string path = ServerPath(login.FDirectory);
    if (!FConnection->FtpSetCurrentDirectory(path)) throw ENIL_FTPSetDir("Cannot set directory on server to " + path);
  }
}

void TCustomNetInstallLocation::Download(const std::string& RemoteFile, const std::string& LocalFile) {
  Connect();
  FLocalFile = LocalFile;
  FRemoteFile = RemoteFile;
  if (OnBeforeDownload) OnBeforeDownload(this);
  try {
    OpenRemoteFile();
    ReceiveFile();
  } catch (...) {
    CloseRemoteFile();
    throw;
  }
  CloseRemoteFile();
  if (OnAfterDownload) OnAfterDownload(this, NetAbort());
}

void TCustomNetInstallLocation::OpenRemoteFile() {
  if (FLoginInformation->FProtocol == ipFTP) {
    FFile = FConnection->FtpOpenFile(FRemoteFile);
    if (!FFile) throw ENIL_FTPOpenFile("Cannot open file " + FRemoteFile + " on server");
    return;
  }
  std::string directory = FLoginInformation->FDirectory;
  if (directory.empty() || directory.back() != '\\') directory += '\\';
  std::string object = ServerPath(directory);
  if (object.front() != '/') object.insert(0, "/");
  FFile = FConnection->HttpGet(object + FRemoteFile);
  if (!FFile) throw ENIL_HTTPSendRequest("Cannot send request for file " + FRemoteFile + " to the server");
  // The status decides, not the body: a page of a missing file is never taken for the file.
  int status = FFile->StatusCode();
  if (status == 404 || status == 410) {
    throw ENIL_FileNotFound("Could not find the file " + FRemoteFile + " on the server", inet::kItemNotFound);
  }
  if (status < 200 || status > 299) {
    throw ENIL_HTTP("The server refused the file " + FRemoteFile + " with the HTTP status " + std::to_string(status),
                    inet::kExtendedError);
  }
}

int64_t TCustomNetInstallLocation::QueryFileSize() { return FFile->AnnouncedSize().value_or(0); }

void TCustomNetInstallLocation::ReceiveFile() {
  int64_t size = QueryFileSize();
  TFileStream local(FLocalFile, fmCreate);
  // Blocks are read straight into a batch that goes to the disk when full: a write per block
  // would cost more than the transfer.
  std::string batch(kWriteBatch, '\0');
  size_t used = 0;
  auto flush = [&]() {
    if (local.Write(batch.data(), static_cast<int64_t>(used)) != static_cast<int64_t>(used))
      throw ENIL_WriteDestFile(Name() + " could not write to the local dest file " + FLocalFile);
    used = 0;
  };
  int64_t total = 0;
  while (true) {
    if (used + kBlockSize > batch.size()) flush();
    char* block = batch.data() + used;
    size_t read = 0;
    if (!FFile->Read(block, kBlockSize, read))
      throw ENIL_ReadFile("Could not read from file " + FRemoteFile + " on the server");
    if (read == 0) break;
    total += static_cast<int64_t>(read);
    auto fileSize = static_cast<int32_t>(size), done = static_cast<int32_t>(total);
    if (OnDataReceived) OnDataReceived(this, FRemoteFile, static_cast<int32_t>(read), done, fileSize, block);
    if (ProgressReceiver) ProgressReceiver(this, FRemoteFile, static_cast<int32_t>(read), done, fileSize, block);
    Application().ProcessMessages();
    if (NetAbort()) break;
    used += read;
  }
  flush();
  if (NetAbort()) return;
  // A transfer that ends short of the announced size lost its connection: never a whole file.
  if (size > 0 && total != size)
    throw ENIL_ReadFile("Could not read from file " + FRemoteFile + " on the server",
                        FLoginInformation->FProtocol == ipFTP ? inet::kFtpDropped : inet::kConnectionAborted);
}

void TCustomNetInstallLocation::CloseRemoteFile() {
  if (!FFile) return;
  bool closed = FFile->Close();
  FFile.reset();
  if (!closed) throw ENIL_FTPCloseFile("Cannot close the file " + FRemoteFile + " on the server");
}

void TCustomNetInstallLocation::CloseConnection() {
  FFile.reset();
  FConnection.reset();
  FSession.reset();
}

} // namespace qnl
