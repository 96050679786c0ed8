// Appending to a log file.
#include "platform/files/AppendLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>

#include "platform/OSError.h"

namespace qnl {

TAppendLog::TAppendLog(const std::string& Path) {
  FHandle = ::open(Path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (FHandle < 0) RaiseLastFileError("open the log file", Path);
}

TAppendLog::~TAppendLog() {
  if (FHandle >= 0) ::close(FHandle);
}

void TAppendLog::WriteLine(const std::string& Line) {
  std::string whole = Line + "\n";
  const char* data = whole.data();
  size_t left = whole.size();
  while (left > 0) {
    ssize_t n = ::write(FHandle, data, left);
    if (n <= 0) return;
    data += n;
    left -= size_t(n);
  }
}

std::string LocalTimestamp() {
  auto now = std::chrono::system_clock::now();
  std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
  ::localtime_r(&seconds, &local);
  char date[32], zone[8];
  std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
  std::strftime(zone, sizeof zone, "%z", &local); // +0100
  char text[64];
  std::snprintf(text, sizeof text, "%s.%03d%.3s:%.2s", date, int(millis), zone, zone + 3);
  return text;
}

} // namespace qnl
