// Conversion between the engine's ANSI text (code page 1252) and the registry's UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace qnl {

// Every byte maps to one UTF-16 unit; the five bytes 1252 leaves undefined map to the
// same code points, as Windows does, so that any byte string survives the round trip.
std::u16string AnsiToWide(std::string_view Text);
// Units that have no byte in the code page become "?".
std::string WideToAnsi(std::u16string_view Text);

// Raw registry data of a text type (UTF-16LE, NUL-terminated) from ANSI text, and back:
// the ANSI form drops one terminating NUL; data of odd length keeps its last byte as is.
std::string AnsiToRegText(std::string_view Text);
std::string RegTextToAnsi(std::string_view Data);

// UTF-8 (Unix side) to UTF-16 and back, for text that leaves the engine.
std::u16string Utf8ToWide(std::string_view Text);
std::string WideToUtf8(std::u16string_view Text);

} // namespace qnl
