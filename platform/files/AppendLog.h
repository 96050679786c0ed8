// A log file that lines are appended to as they happen.
#pragma once

#include <string>

namespace qnl {

// Opens (creating) the host file Path for appending; each line goes out in one write, so a
// program killed at any point leaves every line it finished. EOSError when it cannot be opened.
class TAppendLog {
public:
  explicit TAppendLog(const std::string& Path);
  ~TAppendLog();
  TAppendLog(const TAppendLog&) = delete;
  TAppendLog& operator=(const TAppendLog&) = delete;

  // Writes Line and a line feed; a failed write is dropped (a log never stops an installation).
  void WriteLine(const std::string& Line);

private:
  int FHandle = -1;
};

// The present moment in ISO 8601 with milliseconds and the local offset:
// "2026-12-10T09:01:02.345+01:00".
std::string LocalTimestamp();

} // namespace qnl
