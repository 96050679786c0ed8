// Conversion between the text form ("object Name: TClass ... end") and the binary form
// resource, at the level of syntax: no class or property needs to be known.
#pragma once

#include <string>

#include "rtl/Exceptions.h"

namespace qnl {

// A text form that cannot be parsed; the message gives the line.
QNL_EXCEPTION(EParserError, EConvertError);

// Parses a text form and writes the binary resource, byte for byte as Free Pascal's
// ObjectTextToBinary does for the same text. Beyond that syntax, a collection item may
// carry its order value ("item [3]"), as the text written below does.
std::string ObjectTextToBinary(const std::string& Text);

// Writes the text form of a binary resource (EReadError for a malformed one). Strings keep
// their bytes; wide strings write characters above 126 as #nnn; floats are written with as
// few digits as read back to the same value.
std::string ObjectBinaryToText(const std::string& Binary);

} // namespace qnl
