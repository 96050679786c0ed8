// The system's own exception family.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>

#include "rtl/Exceptions.h"
#include "rtl/SysUtils.h"

namespace qnl {

// Turns an English message into the target language; identity while no translator is active.
using TMessageTranslator = std::function<std::string(const std::string& English)>;
void SetMessageTranslator(TMessageTranslator Translator);
std::string TranslateMessage(const std::string& English);

// Root of the system's own errors.
class ECustomQuenloftAbnormal : public Exception {
public:
  using Exception::Exception;
};

// An error whose message is translated from English first and then formatted.
class IException : public ECustomQuenloftAbnormal {
public:
  explicit IException(const std::string& Message) : ECustomQuenloftAbnormal(TranslateMessage(Message)) {}
  IException(const std::string& Fmt, std::initializer_list<TVarRec> Args)
      : ECustomQuenloftAbnormal(Format(TranslateMessage(Fmt), Args)) {}
};

// Base of the archive errors and of the platform routines' errors.
class EQuenloftAbnormal : public ECustomQuenloftAbnormal {
public:
  using ECustomQuenloftAbnormal::ECustomQuenloftAbnormal;
};

QNL_EXCEPTION(EAPIRoutines, EQuenloftAbnormal);

// Base of the installation-abort errors.
class EQX : public Exception {
public:
  using Exception::Exception;
};

// The user-abort signal.
class EQXUserAbort : public EQX {
public:
  EQXUserAbort() : EQX(TranslateMessage("Installation aborted by the user")) {}
};

// Declares an exception class of the translated family under Base.
#define QNL_IEXCEPTION(Name, Base) \
  class Name : public Base {       \
  public:                          \
    using Base::Base;              \
  }

} // namespace qnl
