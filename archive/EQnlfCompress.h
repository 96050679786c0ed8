// The archive component's errors.
#pragma once

#include <initializer_list>
#include <string>

#include "common/exceptions_Quenloft.h"

namespace qnl {

// Every failure of the archive format, the compressor or the extractor.
class EQnlfCompress : public EQuenloftAbnormal {
public:
  explicit EQnlfCompress(const std::string& Message) : EQuenloftAbnormal(TranslateMessage(Message)) {}
  EQnlfCompress(const std::string& Fmt, std::initializer_list<TVarRec> Args)
      : EQuenloftAbnormal(Format(TranslateMessage(Fmt), Args)) {}
};

// A destination accepted fewer bytes than were written and nobody handled it.
class EqcDiskFull : public EQnlfCompress {
public:
  using EQnlfCompress::EQnlfCompress;
};

// The Abort flag was seen set at a progress point.
class EqcAborted : public EQnlfCompress {
public:
  using EQnlfCompress::EQnlfCompress;
};

} // namespace qnl
