// The machine's ANSI code page and the conversion of engine text to and from UTF-8.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "rtl/AnsiCodePage.h"

namespace qnl {

// HKLM\System\CurrentControlSet\Control\Nls\CodePage "ACP" of the current machine; 1252 when
// missing or not a number, and when there is no machine yet (without creating one: it would
// get 1252).
int MachineCodePage();

// Code page Number (932, 936, 949, 950, 125x ...), converted by the C library's iconv;
// ECodePageError when the library does not know it.
std::shared_ptr<const TAnsiCodePage> CodePageByNumber(int Number);
// The current machine's code page, looked up when a text beyond ASCII is converted: text
// that is all ASCII never needs the machine (which may be busy or missing).
const TAnsiCodePage& MachineAnsiCodePage();

// Engine text (bytes in CodePage) to UTF-8 and back; ASCII passes unchanged. A character
// without a byte in the code page becomes "?", as WideCharToMultiByte's default character;
// a byte without a character stands for the character of its number (see TAnsiCodePage).
// An unknown code page passes the bytes as they are rather than failing a file name.
std::string AnsiToUtf8(std::string_view Text, int CodePage);
std::string Utf8ToAnsi(std::string_view Text, int CodePage);
// The same with the machine's code page.
std::string AnsiToUtf8(std::string_view Text);
std::string Utf8ToAnsi(std::string_view Text);

} // namespace qnl
