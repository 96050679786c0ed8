// A remote file read through the internet service: the transfer runs as the reader asks for
// more, with one automatic resume after a dropped connection.
#include <cstring>

#include "platform/inet/CurlProcs.h"
#include "platform/inet/WinINet.h"

namespace qnl {

struct TInetFile::TTransfer {
  std::string Buffer; // received and not yet read
  size_t ReadPos = 0;
  int64_t Received = 0; // bytes of the file received, counted from its start
  std::optional<int64_t> Announced;
  bool Added = false;
  bool Done = false;
  bool Resumed = false;
  bool Paused = false; // libcurl holds back what did not fit
  CURLcode Result = CURLE_OK;
  CURLcode FirstFailure = CURLE_OK;
};

namespace {

// How much received data waits for the reader at most: beyond it the transfer pauses, so a
// fast server never makes the whole file sit in memory.
constexpr size_t kBufferLimit = 1024 * 1024;

size_t OnData(char* Data, size_t Size, size_t Count, void* UserData) {
  auto* transfer = static_cast<TInetFile::TTransfer*>(UserData);
  if (transfer->Buffer.size() - transfer->ReadPos >= kBufferLimit) {
    transfer->Paused = true;
    return CURL_WRITEFUNC_PAUSE;
  }
  transfer->Buffer.append(Data, Size * Count);
  transfer->Received += static_cast<int64_t>(Size * Count);
  return Size * Count;
}

// A failure that a new request from the last received byte may mend.
bool Resumable(CURLcode Result) {
  return Result == CURLE_PARTIAL_FILE || Result == CURLE_RECV_ERROR || Result == CURLE_SEND_ERROR ||
         Result == CURLE_OPERATION_TIMEDOUT || Result == CURLE_GOT_NOTHING || Result == CURLE_HTTP2_STREAM;
}

} // namespace

TInetFile::TInetFile(TInetConnection& Connection) : FConnection(Connection), FTransfer(std::make_unique<TTransfer>()) {}

TInetFile::~TInetFile() { Close(); }

bool TInetFile::Start(int64_t Offset) {
  const TCurlProcs& curl = FConnection.Session().Library().Procs();
  auto* easy = static_cast<CURL*>(FConnection.Easy());
  TTransfer& t = *FTransfer;
  curl.EasySetopt(easy, CURLOPT_WRITEFUNCTION, &OnData);
  curl.EasySetopt(easy, CURLOPT_WRITEDATA, &t);
  curl.EasySetopt(easy, CURLOPT_RESUME_FROM_LARGE, static_cast<curl_off_t>(Offset));
  t.Done = false;
  t.Paused = false;
  t.Result = CURLE_OK;
  curl.MultiAdd(static_cast<CURLM*>(FConnection.Session().Multi()), easy);
  t.Added = true;
  Fill();
  if (!t.Announced) {
    curl_off_t length = -1;
    if (curl.EasyGetinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK && length >= 0)
      t.Announced = Offset + static_cast<int64_t>(length);
  }
  if (t.Done && t.Result != CURLE_OK && t.Received == Offset) {
    SetInetLastError(InetErrorOf(t.Result, FConnection.Service() == TInetService::isFTP));
    return false;
  }
  return true;
}

void TInetFile::Fill() {
  const TCurlProcs& curl = FConnection.Session().Library().Procs();
  auto* multi = static_cast<CURLM*>(FConnection.Session().Multi());
  auto* easy = static_cast<CURL*>(FConnection.Easy());
  TTransfer& t = *FTransfer;
  while (!t.Done && t.ReadPos == t.Buffer.size()) {
    t.Buffer.clear();
    t.ReadPos = 0;
    if (t.Paused) {
      // Hands over what was held back, then reads on.
      t.Paused = false;
      curl.EasyPause(easy, CURLPAUSE_CONT);
      if (t.ReadPos != t.Buffer.size()) break;
    }
    if (PumpTransfer(curl, multi, easy, t.Result)) {
      t.Done = true;
      break;
    }
    if (t.Buffer.empty()) curl.MultiPoll(multi, nullptr, 0, 1000, nullptr);
  }
}

bool TInetFile::Read(void* Buffer, size_t Size, size_t& Read) {
  Read = 0;
  TTransfer& t = *FTransfer;
  if (!t.Added && t.ReadPos == t.Buffer.size()) return true;
  Fill();
  if (t.ReadPos == t.Buffer.size() && t.Done) {
    bool ftp = FConnection.Service() == TInetService::isFTP;
    if (t.Result != CURLE_OK && Resumable(t.Result) && !t.Resumed && t.Received > 0) {
      // One more request for the rest of the file; its failure reports the first one.
      t.Resumed = true;
      t.FirstFailure = t.Result;
      FConnection.Session().Library().Procs().MultiRemove(static_cast<CURLM*>(FConnection.Session().Multi()),
                                                          static_cast<CURL*>(FConnection.Easy()));
      t.Added = false;
      if (Start(t.Received)) return this->Read(Buffer, Size, Read);
      t.Result = t.FirstFailure;
    }
    if (t.Result != CURLE_OK) {
      SetInetLastError(InetErrorOf(t.Resumed ? t.FirstFailure : t.Result, ftp));
      return false;
    }
    Close();
    return true;
  }
  Read = std::min(Size, t.Buffer.size() - t.ReadPos);
  std::memcpy(Buffer, t.Buffer.data() + t.ReadPos, Read);
  t.ReadPos += Read;
  return true;
}

std::optional<int64_t> TInetFile::AnnouncedSize() const { return FTransfer->Announced; }

int TInetFile::StatusCode() const {
  if (FConnection.Service() == TInetService::isFTP) return 0;
  long code = 0;
  FConnection.Session().Library().Procs().EasyGetinfo(static_cast<CURL*>(FConnection.Easy()), CURLINFO_RESPONSE_CODE,
                                                      &code);
  return static_cast<int>(code);
}

bool TInetFile::Close() {
  if (!FTransfer->Added) return true;
  // A transfer ended before its end closes its server connection; a finished one leaves it
  // for the next download.
  FConnection.Session().Library().Procs().MultiRemove(static_cast<CURLM*>(FConnection.Session().Multi()),
                                                      static_cast<CURL*>(FConnection.Easy()));
  FTransfer->Added = false;
  return true;
}

} // namespace qnl
