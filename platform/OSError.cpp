// Operating-system failures as exceptions.
#include "platform/OSError.h"

#include <cerrno>
#include <cstring>

namespace qnl {

namespace {

std::string MessageOf(const std::string& operation, const std::string& object, int errorCode) {
  std::string text = "Cannot " + operation;
  if (!object.empty()) text += " \"" + object + "\"";
  if (errorCode == EWOULDBLOCK) text += ": it is in use by another program";
  else if (errorCode != 0) text += std::string(": ") + std::strerror(errorCode);
  return text;
}

} // namespace

void RaiseFileError(const std::string& operation, const std::string& object, int errorCode) {
  std::string message = MessageOf(operation, object, errorCode);
  switch (errorCode) {
    case ENOSPC:
    case EDQUOT:
    // A file that may not grow further (the process's file-size limit) is full for its writer,
    // as a file at its file system's largest size is on Windows.
    case EFBIG:
      throw EDiskFull(message, errorCode);
    case EWOULDBLOCK:
    case ETXTBSY:
      throw EFileInUse(message, errorCode);
    default:
      throw EInOutError(message, errorCode);
  }
}

void RaiseLastFileError(const std::string& operation, const std::string& object) {
  RaiseFileError(operation, object, errno);
}

void RaiseLastOSError(const std::string& operation, const std::string& object) {
  int errorCode = errno;
  throw EOSError(MessageOf(operation, object, errorCode), errorCode);
}

} // namespace qnl
