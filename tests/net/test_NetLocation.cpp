// Net locations against real local HTTP and FTP servers: whole files, every failure's message.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "net/exceptions_Net.h"
#include "tests/net/NetTestSupport.h"
#include "tests/support/MessageOf.h"
#include "tests/support/TestFiles.h"

using namespace qnl;
using namespace qnl::test;

namespace {

// A port nobody listens on: bound and closed again.
int ClosedPort() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  socklen_t size = sizeof addr;
  getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &size);
  close(fd);
  return ntohs(addr.sin_port);
}

} // namespace

TEST_F(NetTest, HttpFilesArriveWholeInBlocksOverOneConnection) {
  TNetInstallLocation* location = Location(ipHTTP, "sub\\dir");
  int32_t largest = 0, last = 0, size = 0;
  location->OnDataReceived = [&](TObject*, const std::string&, int32_t Bytes, int32_t Total, int32_t FileSize,
                                 const void*) {
    largest = std::max(largest, Bytes);
    last = Total;
    size = FileSize;
  };
  bool aborted = true;
  location->OnAfterDownload = [&](TObject*, bool Aborted) { aborted = Aborted; };
  EXPECT_EQ(Download(location, "setup.1"), "(no exception)");
  EXPECT_TRUE(Got() == FArchive);
  EXPECT_EQ(largest, 8192);
  EXPECT_EQ(last, 300000);
  EXPECT_EQ(size, 300000);
  EXPECT_FALSE(aborted);
  EXPECT_EQ(Download(location, "setup.1"), "(no exception)");
  EXPECT_TRUE(Got() == FArchive);
  EXPECT_EQ(HttpConnections(), 1) << "the second download reuses the server connection";
}

TEST_F(NetTest, FtpFilesArriveWholeAnonymousAndWithAUser) {
  TNetInstallLocation* anonymous = Location(ipFTP, "sub\\dir");
  EXPECT_EQ(Download(anonymous, "setup.1"), "(no exception)");
  EXPECT_TRUE(Got() == FArchive);
  TNetInstallLocation* user = Location(ipFTP);
  user->LoginInformation()->FAnonymous = false;
  user->LoginInformation()->FUsername = "qnl";
  user->LoginInformation()->FPassword = "secret";
  EXPECT_EQ(Download(user, "setup.1"), "(no exception)");
  EXPECT_TRUE(Got() == FArchive);
  EXPECT_EQ(Download(user, "empty.1"), "(no exception)");
  EXPECT_EQ(Got(), "");
}

TEST_F(NetTest, EmptyFilesAndFilesStartingWith404AreFiles) {
  TNetInstallLocation* location = Location(ipHTTP);
  EXPECT_EQ(Download(location, "empty.1"), "(no exception)");
  EXPECT_TRUE(std::filesystem::exists(Unix("C:\\got.1")));
  EXPECT_EQ(Got(), "");
  EXPECT_EQ(Download(location, "starts404.1"), "(no exception)");
  EXPECT_EQ(Got(), "404 is how this file starts, and it is no error page");
}

TEST_F(NetTest, AConnectionDroppedOnceIsResumed) {
  EXPECT_EQ(Download(Location(ipHTTP, "fault/droponce"), "setup.1"), "(no exception)");
  EXPECT_TRUE(Got() == FArchive);
}

TEST_F(NetTest, EachFailureNamesItsErrorServerAndResponse) {
  std::string http = FHttp->Host(), ftp = FFtp->Host();
  std::string refused = "127.0.0.1:" + std::to_string(ClosedPort());
  struct TCase {
    const char* What;
    TInternetProtocol Protocol;
    std::string Host, Directory, Username, Password, Remote, Message;
  } cases[] = {
      {"404", ipHTTP, http, "", "", "", "missing.1",
       "Could not find the file missing.1 on the server. Error message ERROR_INTERNET_ITEM_NOT_FOUND. Server " + http +
           ". Response from server HTTP/1.1 404 Not Found"},
      {"500 page", ipHTTP, http, "fault/500", "", "", "setup.1",
       "The server refused the file setup.1 with the HTTP status 500. Error message ERROR_INTERNET_EXTENDED_ERROR. "
       "Server " +
           http + ". Response from server HTTP/1.1 500 Internal Server Error"},
      {"refused", ipHTTP, refused, "", "", "", "setup.1",
       "Cannot send request for file setup.1 to the server. Error message ERROR_INTERNET_CANNOT_CONNECT. Server " +
           refused + ". Response from server No server response"},
      {"unresolved", ipHTTP, "no-such-host.invalid", "", "", "", "setup.1",
       "Cannot send request for file setup.1 to the server. Error message ERROR_INTERNET_NAME_NOT_RESOLVED. Server "
       "no-such-host.invalid. Response from server No server response"},
      {"dropped mid-file", ipHTTP, http, "fault/drop", "", "", "setup.1",
       "Could not read from file setup.1 on the server. Error message ERROR_INTERNET_CONNECTION_ABORTED. Server " +
           http + ". Response from server HTTP/1.1 200 OK"},
      {"wrong password", ipFTP, ftp, "", "qnl", "wrong-secret", "setup.1",
       "Cannot connect to host " + ftp + ". Error message ERROR_INTERNET_LOGIN_FAILURE. Server " + ftp +
           ". Response from server 530 Authentication failed."},
      {"password in the host name", ipFTP, "ftp://qnl:wrong-secret@" + ftp, "", "", "", "setup.1",
       "Cannot connect to host ftp://" + ftp + ". Error message ERROR_INTERNET_LOGIN_FAILURE. Server ftp://" + ftp +
           ". Response from server 530 Authentication failed."},
      {"missing ftp file", ipFTP, ftp, "", "", "", "missing.1",
       "Cannot open file missing.1 on server. Error message ERROR_INTERNET_ITEM_NOT_FOUND. Server " + ftp +
           ". Response from server 550 /missing.1 is not retrievable."},
      {"missing ftp directory", ipFTP, ftp, "nowhere", "", "", "setup.1",
       "Cannot set directory on server to nowhere. Error message ERROR_INTERNET_EXTENDED_ERROR. Server " + ftp +
           ". Response from server 550 No such file or directory."},
  };
  for (const TCase& c : cases) {
    auto* location = new TNetInstallLocation(FOwner.get());
    TLoginInformation& login = *location->LoginInformation();
    login.FProtocol = c.Protocol;
    login.FHostname = c.Host;
    login.FDirectory = c.Directory;
    login.FAnonymous = c.Username.empty();
    login.FUsername = c.Username;
    login.FPassword = c.Password;
    WriteMachineFile("C:\\got.1", "old");
    std::string message;
    try {
      location->Download(c.Remote, "C:\\got.1");
      message = "(no exception)";
    } catch (const ENIL& e) {
      message = e.Message();
    }
    EXPECT_EQ(message, c.Message) << c.What;
    EXPECT_EQ(message.find("secret"), std::string::npos) << c.What;
    EXPECT_TRUE(Got() != FArchive) << c.What;
  }
}

TEST_F(NetTest, HttpsChecksTheCertificateAndNeverFallsBackToHttp) {
  TLocalServer https(TLocalServer::TKind::skHTTPS, FServed);
  ASSERT_GT(https.Port(), 0);
  TNetInstallLocation* location = Location(ipHTTP);
  location->LoginInformation()->FHostname = "https://" + https.Host();
  EXPECT_EQ(Download(location, "setup.1"),
            "Cannot send request for file setup.1 to the server. Error message ERROR_INTERNET_INVALID_CA. Server "
            "https://" +
                https.Host() + ". Response from server No server response");
}

TEST_F(NetTest, AProxyFromTheEnvironmentCarriesTheRequests) {
  // The host cannot be resolved: only the proxy reaches it.
  setenv("http_proxy", ("http://" + FHttp->Host()).c_str(), 1);
  TNetInstallLocation* location = Location(ipHTTP);
  location->LoginInformation()->FHostname = "setup.example.invalid";
  std::string message = Download(location, "setup.1");
  unsetenv("http_proxy");
  EXPECT_EQ(message, "(no exception)");
  EXPECT_TRUE(Got() == FArchive);
}

TEST_F(NetTest, TheAbortFlagStopsTheDownloadQuietly) {
  TNetInstallLocation* location = Location(ipHTTP, "fault/slow");
  int blocks = 0;
  location->OnDataReceived = [&](TObject*, const std::string&, int32_t, int32_t, int32_t, const void*) {
    if (++blocks == 3) SetNetAbort(true);
  };
  bool aborted = false;
  location->OnAfterDownload = [&](TObject*, bool Aborted) { aborted = Aborted; };
  EXPECT_EQ(Download(location, "setup.1"), "(no exception)");
  EXPECT_TRUE(aborted);
  EXPECT_EQ(blocks, 3);
  EXPECT_EQ(Got().size(), 2u * 8192);
}

TEST_F(NetTest, ALibraryThatCannotBeLoadedSaysWhatIsMissing) {
  struct TCase {
    const char* Library;
    const char* Message;
  } cases[] = {
      {"/nonexistent/libcurl.so.4",
       "Failed to load the Wininet.dll. If this is a hybrid installation, you might want to include the WININET.DLL "
       "file in the PresetupFiles property of the TInstall component"},
      {"libz.so.1", "Failed to load the procedure InternetGetLastResponseInfo from WININET.DLL"},
  };
  for (const TCase& c : cases) {
    setenv("QUENLOFT_LIBCURL", c.Library, 1);
    TNetInstallLocation* location = Location(ipHTTP);
    EXPECT_EQ(Download(location, "setup.1"), c.Message);
    EXPECT_FALSE(location->LibraryLoaded());
  }
  unsetenv("QUENLOFT_LIBCURL");
}

TEST_F(NetTest, ErrorNamesAndServerPaths) {
  EXPECT_EQ(ErrorName(12111), "ERROR_FTP_DROPPED");
  EXPECT_EQ(ErrorName(6), "ERROR_INVALID_HANDLE");
  EXPECT_EQ(ErrorName(12042), "Unregistered error code");
  EXPECT_EQ(ServerPath(" "), "/");
  EXPECT_EQ(ServerPath("pub\\setup"), "pub/setup");
  TLoginInformation login;
  login.FAnonymous = false;
  login.FUsername = "someone";
  EXPECT_TRUE(IsFilledIn(login));
  login.FAnonymous = true;
  EXPECT_FALSE(IsFilledIn(login));
}
