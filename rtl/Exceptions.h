// The framework's exception classes: every error of the system is an Exception.
#pragma once

#include <exception>
#include <string>

namespace qnl {

// Base of every exception the system raises; carries its message as bytes in the
// machine's ANSI code page.
class Exception : public std::exception {
public:
  explicit Exception(std::string Message) : FMessage(std::move(Message)) {}
  const char* what() const noexcept override { return FMessage.c_str(); }
  const std::string& Message() const { return FMessage; }
  void SetMessage(std::string Message) { FMessage = std::move(Message); }

private:
  std::string FMessage;
};

// The silent abort: ends the current step without showing an error.
class EAbort : public Exception {
public:
  EAbort() : Exception("Operation aborted") {}
  using Exception::Exception;
};

#define QNL_EXCEPTION(Name, Base) \
  class Name : public Base {      \
  public:                         \
    using Base::Base;             \
  }

QNL_EXCEPTION(EConvertError, Exception);
QNL_EXCEPTION(EListError, Exception);
QNL_EXCEPTION(EStreamError, Exception);
QNL_EXCEPTION(EReadError, EStreamError);
QNL_EXCEPTION(EWriteError, EStreamError);
QNL_EXCEPTION(EFilerError, EStreamError);
QNL_EXCEPTION(EClassNotFound, EFilerError);
QNL_EXCEPTION(EPropertyError, Exception);
QNL_EXCEPTION(EComponentError, Exception);
QNL_EXCEPTION(EInvalidOperation, Exception);

// A call into the operating system failed: the base of the platform layer's errors. The
// message says what was being done to what ("Cannot delete file "C:\a.txt": Permission
// denied"); ErrorCode keeps the system's error number, 0 when there is none.
class EOSError : public Exception {
public:
  explicit EOSError(const std::string& Message, int ErrorCode = 0) : Exception(Message), FErrorCode(ErrorCode) {}
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

// A part of the system that is not built yet says so loudly instead of pretending.
class ENotImplemented : public Exception {
public:
  explicit ENotImplemented(const std::string& What) : Exception(What + " is not implemented") {}
};

// Raises the silent abort.
[[noreturn]] inline void Abort() { throw EAbort(); }

} // namespace qnl
