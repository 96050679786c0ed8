// The machine's internet service (what WININET.DLL gives a Windows program): FTP and HTTP
// downloads on libcurl, loaded at first use.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace qnl {

// The WinINet error codes this service reports through InetLastError.
namespace inet {
constexpr uint32_t kTimeout = 12002;
constexpr uint32_t kExtendedError = 12003;
constexpr uint32_t kInternalError = 12004;
constexpr uint32_t kInvalidUrl = 12005;
constexpr uint32_t kUnrecognizedScheme = 12006;
constexpr uint32_t kNameNotResolved = 12007;
constexpr uint32_t kLoginFailure = 12015;
constexpr uint32_t kOperationCancelled = 12017;
constexpr uint32_t kItemNotFound = 12028;
constexpr uint32_t kCannotConnect = 12029;
constexpr uint32_t kConnectionAborted = 12030;
constexpr uint32_t kConnectionReset = 12031;
constexpr uint32_t kInvalidCA = 12045;
constexpr uint32_t kFtpDropped = 12111;
constexpr uint32_t kHeaderNotFound = 12150;
constexpr uint32_t kInvalidServerResponse = 12152;
constexpr uint32_t kSecurityChannelError = 12157;
} // namespace inet

enum class TInetService { isFTP, isHTTP };

struct TCurlProcs;
class TInetConnection;
class TInetFile;

// The loaded library. Sessions, connections and files it makes must go before it does.
// Emulation: libcurl stands in for WININET.DLL. The library file is libcurl.so.4, or the file
// QUENLOFT_LIBCURL names (a test hook for a machine without it).
class TWinINet {
public:
  // LoadLibrary and the look-up of the WinINet procedures: null when libcurl cannot be loaded
  // (MissingProcedure empty) or lacks what a procedure needs (MissingProcedure names it,
  // without its final A: "InternetOpen").
  static std::unique_ptr<TWinINet> Load(std::string& MissingProcedure);
  ~TWinINet();
  TWinINet(const TWinINet&) = delete;
  TWinINet& operator=(const TWinINet&) = delete;

  const TCurlProcs& Procs() const { return *FProcs; }

private:
  TWinINet() = default;
  void* FHandle = nullptr;
  std::unique_ptr<TCurlProcs> FProcs;
};

// InternetOpen: a session; its connections share one pool of server connections.
class TInetSession {
public:
  // Null when the library cannot start a session (InetLastError says why).
  static std::unique_ptr<TInetSession> Open(const TWinINet& Library, const std::string& Agent);
  ~TInetSession();
  TInetSession(const TInetSession&) = delete;
  TInetSession& operator=(const TInetSession&) = delete;

  const TWinINet& Library() const { return FLibrary; }
  const std::string& Agent() const { return FAgent; }
  void* Multi() const { return FMulti; }

private:
  TInetSession(const TWinINet& Library, std::string Agent) : FLibrary(Library), FAgent(std::move(Agent)) {}
  const TWinINet& FLibrary;
  std::string FAgent;
  void* FMulti = nullptr;
};

// Who logs in. Without a user name FTP logs in anonymously. Credentials go to the library
// only as options, never into a URL, a message or a command line.
struct TInetLogin {
  std::string Username;
  std::string Password;
};

// InternetConnect: one server. Its transfers reuse the same server connection while the
// server keeps it open. Hostname may carry a scheme ("https://host", "ftp://host") and a port.
class TInetConnection {
public:
  // FTP logs in here and fails at once for a wrong password, as WinINet does; HTTP only
  // remembers the server. Null on failure (InetLastError, InetLastResponse).
  static std::unique_ptr<TInetConnection> Connect(TInetSession& Session, const std::string& Hostname,
                                                  TInetService Service, const TInetLogin& Login);
  ~TInetConnection();
  TInetConnection(const TInetConnection&) = delete;
  TInetConnection& operator=(const TInetConnection&) = delete;

  // FtpSetCurrentDirectory: Path with "/" separators, absolute or relative to the login directory.
  bool FtpSetCurrentDirectory(const std::string& Path);
  // FtpOpenFile: starts the binary transfer of Name in the current directory; null when the
  // server refuses it (InetLastError).
  std::unique_ptr<TInetFile> FtpOpenFile(const std::string& Name);
  // HttpOpenRequest and HttpSendRequest in one: GET Object ("/dir/name") with "Accept: */*",
  // run until the response's first body bytes or its end. Its status is the caller's to
  // judge. Null when no response came (InetLastError).
  std::unique_ptr<TInetFile> HttpGet(const std::string& Object);

  TInetSession& Session() const { return FSession; }
  void* Easy() const { return FEasy; }
  TInetService Service() const { return FService; }
  // scheme://host[:port] of this server, without credentials.
  const std::string& Base() const { return FBase; }

private:
  TInetConnection(TInetSession& Session, TInetService Service) : FSession(Session), FService(Service) {}
  bool Prepare(const std::string& Hostname, const TInetLogin& Login);
  TInetSession& FSession;
  TInetService FService;
  void* FEasy = nullptr;
  std::string FBase;
  std::string FDirectory = "/";
};

// An opened remote file being read; its transfer runs as it is read.
class TInetFile {
public:
  ~TInetFile();
  TInetFile(const TInetFile&) = delete;
  TInetFile& operator=(const TInetFile&) = delete;

  // InternetReadFile: up to Size bytes into Buffer; Read is 0 at the end of the file. False
  // when the transfer failed (InetLastError). A connection dropped once with bytes already
  // received is resumed from where it stopped (Range / REST) before this fails.
  bool Read(void* Buffer, size_t Size, size_t& Read);
  // The size the server announced (Content-Length, the FTP size), when it did.
  std::optional<int64_t> AnnouncedSize() const;
  // HttpQueryInfo of the status code; 0 for FTP.
  int StatusCode() const;
  // InternetCloseHandle: ends the transfer; the server connection stays for the next one.
  bool Close();

  struct TTransfer; // the transfer's state, known to the service only

private:
  friend class TInetConnection;
  explicit TInetFile(TInetConnection& Connection);
  // Starts the transfer from Offset and runs it until its first bytes or its end; false when
  // it ended in a failure before any byte came.
  bool Start(int64_t Offset);
  // Runs the transfer until it has bytes to give or has ended.
  void Fill();
  TInetConnection& FConnection;
  std::unique_ptr<TTransfer> FTransfer;
};

// GetLastError of the last failed call of this service in this thread.
uint32_t InetLastError();
// InternetGetLastResponseInfo: the server's last response line, empty when none came.
std::string InetLastResponse();

} // namespace qnl
