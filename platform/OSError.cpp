// Operating-system failures as exceptions.
#include "platform/OSError.h"

#include <cerrno>
#include <cstring>

namespace qnl {

namespace {

std::string MessageOf(const std::string& Operation, const std::string& Object, int ErrorCode) {
  std::string text = "Cannot " + Operation;
  if (!Object.empty()) text += " \"" + Object + "\"";
  if (ErrorCode == EWOULDBLOCK)
    text += ": it is in use by another program";
  else if (ErrorCode != 0)
    text += std::string(": ") + std::strerror(ErrorCode);
  return text;
}

} // namespace

void RaiseFileError(const std::string& Operation, const std::string& Object, int ErrorCode) {
  std::string message = MessageOf(Operation, Object, ErrorCode);
  switch (ErrorCode) {
    case ENOSPC:
    case EDQUOT:
    // A file that may not grow further (the process's file-size limit) is full for its writer,
    // as a file at its file system's largest size is on Windows.
    case EFBIG: throw EDiskFull(message, ErrorCode);
    case EWOULDBLOCK:
    case ETXTBSY: throw EFileInUse(message, ErrorCode);
    default: throw EInOutError(message, ErrorCode);
  }
}

void RaiseLastFileError(const std::string& Operation, const std::string& Object) {
  RaiseFileError(Operation, Object, errno);
}

void RaiseLastOSError(const std::string& Operation, const std::string& Object) {
  int errorCode = errno;
  throw EOSError(MessageOf(Operation, Object, errorCode), errorCode);
}

} // namespace qnl
