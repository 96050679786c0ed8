// The internet service on libcurl: loading, sessions, connections and the error state.
#include "platform/inet/WinINet.h"

#include <dlfcn.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/inet/CurlProcs.h"

namespace qnl {

namespace {

thread_local uint32_t gLastError = 0;
thread_local std::string gLastResponse;

// Each WinINet procedure, in the order a program looks them up, with the curl entry points
// it is made of.
struct TProcedure {
  const char* Name;
  std::vector<std::pair<const char*, void * TCurlProcs::*>> Symbols;
};

template <typename F>
void* TCurlProcs::*Slot(F TCurlProcs::*Member) {
  return reinterpret_cast<void * TCurlProcs::*>(Member);
}

const std::vector<TProcedure>& Procedures() {
  static const std::vector<TProcedure> procedures = {
      {"InternetGetLastResponseInfo", {{"curl_easy_getinfo", Slot(&TCurlProcs::EasyGetinfo)}}},
      {"InternetOpen",
       {{"curl_global_init", Slot(&TCurlProcs::GlobalInit)},
        {"curl_multi_init", Slot(&TCurlProcs::MultiInit)},
        {"curl_multi_cleanup", Slot(&TCurlProcs::MultiCleanup)}}},
      {"InternetConnect",
       {{"curl_easy_init", Slot(&TCurlProcs::EasyInit)},
        {"curl_easy_setopt", Slot(&TCurlProcs::EasySetopt)},
        {"curl_easy_cleanup", Slot(&TCurlProcs::EasyCleanup)}}},
      {"FtpSetCurrentDirectory",
       {{"curl_multi_add_handle", Slot(&TCurlProcs::MultiAdd)},
        {"curl_multi_perform", Slot(&TCurlProcs::MultiPerform)},
        {"curl_multi_poll", Slot(&TCurlProcs::MultiPoll)},
        {"curl_multi_info_read", Slot(&TCurlProcs::MultiInfoRead)}}},
      {"InternetCloseHandle", {{"curl_multi_remove_handle", Slot(&TCurlProcs::MultiRemove)}}},
      {"InternetQueryDataAvailable", {{"curl_easy_getinfo", Slot(&TCurlProcs::EasyGetinfo)}}},
      {"InternetReadFile",
       {{"curl_multi_perform", Slot(&TCurlProcs::MultiPerform)}, {"curl_easy_pause", Slot(&TCurlProcs::EasyPause)}}},
      {"FtpOpenFile", {{"curl_multi_add_handle", Slot(&TCurlProcs::MultiAdd)}}},
      {"HttpOpenRequest", {{"curl_easy_setopt", Slot(&TCurlProcs::EasySetopt)}}},
      {"HttpSendRequest",
       {{"curl_slist_append", Slot(&TCurlProcs::SlistAppend)},
        {"curl_slist_free_all", Slot(&TCurlProcs::SlistFreeAll)}}},
      {"HttpQueryInfo", {{"curl_easy_getinfo", Slot(&TCurlProcs::EasyGetinfo)}}},
  };
  return procedures;
}

// The characters a URL path keeps as they are; every other byte is written as %XX.
std::string EscapePath(const std::string& Path) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : Path) {
    if (std::isalnum(c) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

std::string Lower(std::string Text) {
  for (char& c : Text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return Text;
}

// Keeps the server's response lines: FTP replies, the HTTP status line.
size_t OnHeader(char* Data, size_t Size, size_t Count, void* /*UserData*/) {
  std::string line(Data, Size * Count);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  bool ftpReply = line.size() >= 3 && std::isdigit(static_cast<unsigned char>(line[0]));
  if (line.rfind("HTTP/", 0) == 0 || ftpReply) gLastResponse = line;
  return Size * Count;
}

size_t Discard(char* /*Data*/, size_t Size, size_t Count, void* /*UserData*/) { return Size * Count; }

} // namespace

void SetInetLastError(uint32_t Code) { gLastError = Code; }
void SetInetLastResponse(std::string Text) { gLastResponse = std::move(Text); }
uint32_t InetLastError() { return gLastError; }
std::string InetLastResponse() { return gLastResponse; }

uint32_t InetErrorOf(CURLcode Result, bool Ftp) {
  switch (Result) {
    case CURLE_OPERATION_TIMEDOUT: return inet::kTimeout;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY: return inet::kNameNotResolved;
    case CURLE_COULDNT_CONNECT: return inet::kCannotConnect;
    case CURLE_URL_MALFORMAT: return inet::kInvalidUrl;
    case CURLE_UNSUPPORTED_PROTOCOL: return inet::kUnrecognizedScheme;
    case CURLE_LOGIN_DENIED: return inet::kLoginFailure;
    case CURLE_REMOTE_FILE_NOT_FOUND: return inet::kItemNotFound;
    case CURLE_ABORTED_BY_CALLBACK: return inet::kOperationCancelled;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE: return inet::kInvalidCA;
    case CURLE_SSL_CONNECT_ERROR: return inet::kSecurityChannelError;
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY: return inet::kInvalidServerResponse;
    case CURLE_PARTIAL_FILE: return Ftp ? inet::kFtpDropped : inet::kConnectionAborted;
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR: return Ftp ? inet::kFtpDropped : inet::kConnectionReset;
    default: return inet::kExtendedError;
  }
}

bool PumpTransfer(const TCurlProcs& Curl, CURLM* Multi, CURL* Easy, CURLcode& Result) {
  int running = 0;
  Curl.MultiPerform(Multi, &running);
  int left = 0;
  while (CURLMsg* msg = Curl.MultiInfoRead(Multi, &left)) {
    if (msg->msg == CURLMSG_DONE && msg->easy_handle == Easy) {
      Result = msg->data.result;
      return true;
    }
  }
  return false;
}

std::unique_ptr<TWinINet> TWinINet::Load(std::string& MissingProcedure) {
  MissingProcedure.clear();
  const char* custom = std::getenv("QUENLOFT_LIBCURL");
  std::string file = custom && *custom ? custom : "libcurl.so.4";
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) return nullptr;
  std::unique_ptr<TWinINet> library(new TWinINet());
  library->FHandle = handle;
  library->FProcs = std::make_unique<TCurlProcs>();
  for (const TProcedure& procedure : Procedures()) {
    for (const auto& [symbol, slot] : procedure.Symbols) {
      void* address = dlsym(handle, symbol);
      if (!address) {
        MissingProcedure = procedure.Name;
        return nullptr;
      }
      library->FProcs.get()->*slot = address;
    }
  }
  if (library->FProcs->GlobalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
    MissingProcedure = "InternetOpen";
    return nullptr;
  }
  return library;
}

// libcurl stays loaded: its global state (TLS libraries) cannot be unloaded safely.
TWinINet::~TWinINet() = default;

std::unique_ptr<TInetSession> TInetSession::Open(const TWinINet& Library, const std::string& Agent) {
  std::unique_ptr<TInetSession> session(new TInetSession(Library, Agent));
  session->FMulti = Library.Procs().MultiInit();
  if (!session->FMulti) {
    SetInetLastError(inet::kInternalError);
    return nullptr;
  }
  return session;
}

TInetSession::~TInetSession() {
  if (FMulti) FLibrary.Procs().MultiCleanup(static_cast<CURLM*>(FMulti));
}

bool TInetConnection::Prepare(const std::string& Hostname, const TInetLogin& Login) {
  const TCurlProcs& curl = FSession.Library().Procs();
  CURL* easy = curl.EasyInit();
  if (!easy) {
    SetInetLastError(inet::kInternalError);
    return false;
  }
  FEasy = easy;
  std::string host = Hostname;
  while (!host.empty() && (host.back() == '/' || host.back() == '\\')) host.pop_back();
  size_t scheme = host.find("://");
  if (scheme == std::string::npos)
    FBase = (FService == TInetService::isFTP ? "ftp://" : "http://") + host;
  else
    FBase = Lower(host.substr(0, scheme)) + host.substr(scheme);
  curl.EasySetopt(easy, CURLOPT_USERAGENT, FSession.Agent().c_str());
  if (!Login.Username.empty()) curl.EasySetopt(easy, CURLOPT_USERNAME, Login.Username.c_str());
  if (!Login.Username.empty() || !Login.Password.empty())
    curl.EasySetopt(easy, CURLOPT_PASSWORD, Login.Password.c_str());
  // Only these schemes, also after a redirect: a server cannot send the download elsewhere.
  curl.EasySetopt(easy, CURLOPT_PROTOCOLS_STR, "http,https,ftp,ftps");
  curl.EasySetopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl.EasySetopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
  curl.EasySetopt(easy, CURLOPT_MAXREDIRS, 10L);
  curl.EasySetopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl.EasySetopt(easy, CURLOPT_CONNECTTIMEOUT, 30L);
  // A server that sends nothing for a minute has timed out.
  curl.EasySetopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl.EasySetopt(easy, CURLOPT_LOW_SPEED_TIME, 60L);
  curl.EasySetopt(easy, CURLOPT_BUFFERSIZE, 512L * 1024L);
  curl.EasySetopt(easy, CURLOPT_TCP_KEEPALIVE, 1L);
  curl.EasySetopt(easy, CURLOPT_HEADERFUNCTION, &OnHeader);
  // Certificates are checked against the system's store (libcurl's default); proxies come
  // from http_proxy, https_proxy, ftp_proxy, all_proxy and no_proxy, as libcurl reads them.
  return true;
}

std::unique_ptr<TInetConnection> TInetConnection::Connect(TInetSession& Session, const std::string& Hostname,
                                                          TInetService Service, const TInetLogin& Login) {
  gLastResponse.clear();
  std::unique_ptr<TInetConnection> connection(new TInetConnection(Session, Service));
  if (!connection->Prepare(Hostname, Login)) return nullptr;
  if (Service == TInetService::isFTP && !connection->FtpSetCurrentDirectory("")) return nullptr;
  return connection;
}

TInetConnection::~TInetConnection() {
  if (FEasy) FSession.Library().Procs().EasyCleanup(static_cast<CURL*>(FEasy));
}

bool TInetConnection::FtpSetCurrentDirectory(const std::string& Path) {
  const TCurlProcs& curl = FSession.Library().Procs();
  auto* easy = static_cast<CURL*>(FEasy);
  auto* multi = static_cast<CURLM*>(FSession.Multi());
  std::string dir = Path;
  if (!dir.empty() && dir.back() != '/') dir += '/';
  // Only the login and the changes of directory: no listing, no transfer.
  std::string url = FBase + "/" + (dir.rfind('/', 0) == 0 ? "%2F" + EscapePath(dir.substr(1)) : EscapePath(dir));
  curl.EasySetopt(easy, CURLOPT_URL, url.c_str());
  curl.EasySetopt(easy, CURLOPT_NOBODY, 1L);
  curl.EasySetopt(easy, CURLOPT_RESUME_FROM_LARGE, static_cast<curl_off_t>(0));
  curl.EasySetopt(easy, CURLOPT_WRITEFUNCTION, &Discard);
  curl.MultiAdd(multi, easy);
  CURLcode result = CURLE_OK;
  while (!PumpTransfer(curl, multi, easy, result)) curl.MultiPoll(multi, nullptr, 0, 1000, nullptr);
  curl.MultiRemove(multi, easy);
  curl.EasySetopt(easy, CURLOPT_NOBODY, 0L);
  if (result != CURLE_OK) {
    SetInetLastError(InetErrorOf(result, true));
    return false;
  }
  FDirectory = dir.empty() ? "" : dir;
  return true;
}

std::unique_ptr<TInetFile> TInetConnection::FtpOpenFile(const std::string& Name) {
  std::string path =
      FDirectory.rfind('/', 0) == 0 ? "%2F" + EscapePath(FDirectory.substr(1) + Name) : EscapePath(FDirectory + Name);
  std::unique_ptr<TInetFile> file(new TInetFile(*this));
  const TCurlProcs& curl = FSession.Library().Procs();
  curl.EasySetopt(static_cast<CURL*>(FEasy), CURLOPT_URL, (FBase + "/" + path).c_str());
  curl.EasySetopt(static_cast<CURL*>(FEasy), CURLOPT_HTTPHEADER, nullptr);
  if (!file->Start(0)) return nullptr;
  return file;
}

std::unique_ptr<TInetFile> TInetConnection::HttpGet(const std::string& Object) {
  std::unique_ptr<TInetFile> file(new TInetFile(*this));
  const TCurlProcs& curl = FSession.Library().Procs();
  curl.EasySetopt(static_cast<CURL*>(FEasy), CURLOPT_URL, (FBase + EscapePath(Object)).c_str());
  curl.EasySetopt(static_cast<CURL*>(FEasy), CURLOPT_HTTPGET, 1L);
  // libcurl sends "Accept: */*" itself.
  if (!file->Start(0)) return nullptr;
  return file;
}

} // namespace qnl
