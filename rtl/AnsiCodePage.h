// An ANSI code page: the meaning of the engine's byte strings, and their conversion to and
// from UTF-16.
#pragma once

#include <string>
#include <string_view>

#include "rtl/Exceptions.h"

namespace qnl {

// A character that a code page cannot hold; the message names the character and the code page.
QNL_EXCEPTION(ECodePageError, EConvertError);

// What FromWide does with a character the code page cannot hold.
enum class TUnmappable {
  umRaise,       // ECodePageError
  umDefaultChar, // "?", as WideCharToMultiByte does by default
};

// One ANSI code page. Every byte string has a wide form: a byte the code page leaves
// undefined stands for a character of its own (the one of the same number, as Windows maps
// the five holes of 1252), which converts back to the byte. So bytes read as text and
// written back are the same bytes.
class TAnsiCodePage {
public:
  virtual ~TAnsiCodePage() = default;
  virtual int Number() const = 0;
  virtual std::u16string ToWide(std::string_view Text) const = 0;
  virtual std::string FromWide(std::u16string_view Text, TUnmappable Unmappable = TUnmappable::umRaise) const = 0;

protected:
  // Raises ECodePageError for the character at Text[Pos].
  [[noreturn]] void CannotHold(std::u16string_view Text, size_t Pos) const;
};

// Code page 1252 (Western European), the code page of a new machine; built in, so that the
// library converts without the platform.
const TAnsiCodePage& CodePage1252();

} // namespace qnl
