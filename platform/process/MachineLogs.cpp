// Line logs in the machine directory, appended by several processes at once.
#include "platform/process/MachineLogs.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>

#include "platform/Machine.h"
#include "platform/OSError.h"
#include "platform/files/DirectoryListings.h"

namespace qnl {

namespace {

std::vector<std::string> ReadLogLines(const std::string& Path) {
  std::vector<std::string> lines;
  std::ifstream in(Path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

void AppendLogLine(const std::string& Path, const std::string& Line) {
  int fd = ::open(Path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
  if (fd < 0) RaiseLastFileError("write file", Path);
  detail::ForgetListingOf(Path);
  std::string text = Line + "\n";
  // One write with O_APPEND keeps lines of concurrent writers whole.
  ssize_t n = ::write(fd, text.data(), text.size());
  int err = errno;
  ::close(fd);
  if (n != static_cast<ssize_t>(text.size())) RaiseFileError("write file", Path, n < 0 ? err : ENOSPC);
}

} // namespace

std::string StartLogPath() { return TMachine::Current().Directory() + "/quenloft-started.log"; }
std::vector<std::string> ReadStartLog() { return ReadLogLines(StartLogPath()); }
void AppendStartLog(const std::string& Line) { AppendLogLine(StartLogPath(), Line); }

std::string BatchLogPath() { return TMachine::Current().Directory() + "/quenloft-batch.log"; }
std::vector<std::string> ReadBatchLog() { return ReadLogLines(BatchLogPath()); }
void AppendBatchLog(const std::string& Line) { AppendLogLine(BatchLogPath(), Line); }

} // namespace qnl
