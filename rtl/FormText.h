// Conversion between the text form ("object Name: TClass ... end") and the binary form
// resource, at the level of syntax: no class or property needs to be known.
#pragma once

#include <string>
#include <unordered_map>

#include "rtl/AnsiCodePage.h"
#include "rtl/Exceptions.h"

namespace qnl {

// A text form that cannot be parsed; the message gives the line.
QNL_EXCEPTION(EParserError, EConvertError);

// Parses a text form and writes the binary resource, byte for byte as Free Pascal's
// ObjectTextToBinary does for the same text. Beyond that syntax, a collection item may
// carry its order value ("item [3]"), as the text written below does.
//
// A text form is UTF-8 (a leading byte order mark is skipped); a string holding bytes that
// are not UTF-8 is an EParserError. #nnn is the character of Unicode number nnn. A string
// with characters beyond ASCII is a wide string, unless Narrow is given: then every wide
// string is written as the bytes of that code page, and a character it cannot hold is an
// EParserError naming the line, the object and the property.
std::string ObjectTextToBinary(const std::string& Text, const TAnsiCodePage* Narrow = nullptr);

// Where each object and property of a text form stands, so that what is found in the binary
// resource it compiles to can be shown at its line.
class TFormTextLines {
public:
  void Add(const std::string& Key, int Line);
  // The line of Component's property Path ("Font.Name", "Items[0].Caption"), else of the
  // object itself, else 0.
  int LineOf(const std::string& Component, const std::string& Path = "") const;

private:
  std::unordered_map<std::string, int> FLines;
};

// ObjectTextToBinary noting the lines in Lines.
std::string ObjectTextToBinary(const std::string& Text, const TAnsiCodePage* Narrow, TFormTextLines& Lines);

// Writes the text form of a binary resource (EReadError for a malformed one). Byte strings
// are read in CodePage; characters beyond ASCII are written as #nnn, so that the text
// compiles back to the same bytes through the same code page. Floats are written with as
// few digits as read back to the same value.
std::string ObjectBinaryToText(const std::string& Binary, const TAnsiCodePage& CodePage = CodePage1252());

} // namespace qnl
