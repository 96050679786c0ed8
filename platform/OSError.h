// Operating-system failures raised as the run-time library's EOSError family, naming the
// operation and the object.
#pragma once

#include <cerrno>
#include <string>

#include "rtl/Exceptions.h"

namespace qnl {

// A Windows path that cannot be mapped onto the machine (unknown drive, UNC path, bad syntax);
// to a caller it is a file that cannot be reached, like ERROR_PATH_NOT_FOUND.
class EPathError : public EInOutError {
public:
  explicit EPathError(const std::string& Message) : EInOutError(Message, ENOENT) {}
};

// Raises the exception that fits errorCode for a file operation: EDiskFull for a full disk,
// EFileInUse for a lock held elsewhere, else EInOutError. The message reads
// "Cannot <operation> "<object>": <system text>".
[[noreturn]] void RaiseFileError(const std::string& Operation, const std::string& Object, int ErrorCode);
// The same with the calling thread's last errno.
[[noreturn]] void RaiseLastFileError(const std::string& Operation, const std::string& Object);
// EOSError for a non-file operation (process, library, time...).
[[noreturn]] void RaiseLastOSError(const std::string& Operation, const std::string& Object);

} // namespace qnl
