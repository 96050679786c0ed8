// Text between the engine's ANSI byte strings and Qt's Unicode strings.
#pragma once

#include <string>

#include <QString>

namespace qnl {

// The machine's ANSI code page used for text whose font names no character set of its own
// (DEFAULT_CHARSET); 1252 until the program sets the machine's.
int AnsiCodePage();
void SetAnsiCodePage(int CodePage);

// Bytes in code page CodePage (0: AnsiCodePage()) as Unicode; a byte without a character
// becomes "?".
QString AnsiToQString(const std::string& Text, int CodePage = 0);
// Unicode back to bytes of CodePage; characters it lacks become '?'.
std::string QStringToAnsi(const QString& Text, int CodePage = 0);

} // namespace qnl
