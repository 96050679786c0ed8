// Operating-system failures as exceptions that name the operation and the object.
#pragma once

#include <cerrno>
#include <string>

#include "rtl/Exceptions.h"

namespace qnl {

// A call into the operating system failed; the message says what was being done to what
// ("Cannot delete file "C:\a.txt": Permission denied") and ErrorCode keeps the errno value.
class EOSError : public Exception {
public:
  EOSError(const std::string& message, int errorCode) : Exception(message), FErrorCode(errorCode) {}
  int ErrorCode() const { return FErrorCode; }

private:
  int FErrorCode;
};

// A file or directory operation failed.
class EInOutError : public EOSError {
public:
  using EOSError::EOSError;
};

// The disk (or the user's quota) is full: writers that can ask for another disk catch this one.
class EDiskFull : public EInOutError {
public:
  using EInOutError::EInOutError;
};

// Another process holds a lock on the file, which is how a file "in use" looks on this machine.
class EFileInUse : public EInOutError {
public:
  using EInOutError::EInOutError;
};

// A Windows path that cannot be mapped onto the machine (unknown drive, UNC path, bad syntax);
// to a caller it is a file that cannot be reached, like ERROR_PATH_NOT_FOUND.
class EPathError : public EInOutError {
public:
  explicit EPathError(const std::string& message) : EInOutError(message, ENOENT) {}
};

// Raises the exception that fits errorCode for a file operation: EDiskFull for a full disk,
// EFileInUse for a lock held elsewhere, else EInOutError. The message reads
// "Cannot <operation> "<object>": <system text>".
[[noreturn]] void RaiseFileError(const std::string& operation, const std::string& object, int errorCode);
// The same with the calling thread's last errno.
[[noreturn]] void RaiseLastFileError(const std::string& operation, const std::string& object);
// EOSError for a non-file operation (process, library, time...).
[[noreturn]] void RaiseLastOSError(const std::string& operation, const std::string& object);

} // namespace qnl
