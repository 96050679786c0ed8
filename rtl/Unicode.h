// UTF-8 and UTF-16, the two Unicode forms the engine meets outside its ANSI strings.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qnl {

// The code point of the UTF-8 sequence starting at Text[Pos] and its length in bytes; 0
// when the bytes there are not UTF-8 (a stray continuation byte, a sequence cut short, an
// overlong form, a surrogate or a value beyond U+10FFFF).
size_t DecodeUtf8(std::string_view Text, size_t Pos, char32_t& Char);

void AppendUtf8(std::string& Out, char32_t Char);
// A character beyond U+FFFF becomes a surrogate pair.
void AppendUtf16(std::u16string& Out, char32_t Char);

// The code point at Text[Pos], joining a surrogate pair; Length is 1 or 2. A lone
// surrogate stands for itself.
char32_t CodePointAt(std::u16string_view Text, size_t Pos, size_t& Length);

// UTF-16 as UTF-8; a lone surrogate is written as its own three bytes.
std::string Utf16ToUtf8(std::u16string_view Text);

} // namespace qnl
