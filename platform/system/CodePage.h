// The machine's ANSI code page and the conversion of engine text to and from UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace qnl {

// HKLM\System\CurrentControlSet\Control\Nls\CodePage "ACP" of the current machine; 1252 when
// missing or not a number.
int MachineCodePage();
// Engine text (bytes in CodePage) to UTF-8 and back; ASCII passes unchanged. A byte or
// character without a counterpart becomes "?", as WideCharToMultiByte's default character.
std::string AnsiToUtf8(std::string_view Text, int CodePage);
std::string Utf8ToAnsi(std::string_view Text, int CodePage);
// The same with the machine's code page.
std::string AnsiToUtf8(std::string_view Text);
std::string Utf8ToAnsi(std::string_view Text);

} // namespace qnl
