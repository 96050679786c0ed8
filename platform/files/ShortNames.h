// Short (8.3) names as Wine makes them, so that a name agrees with Wine's for the same file.
#pragma once

#include <string>
#include <string_view>

namespace qnl {

// True when Name is already a valid 8.3 name (what RtlIsNameLegalDOS8Dot3 accepts, simplified
// as Wine does): at most 8 + 3 characters, one dot, no character outside 7-bit ASCII and none of
// the characters DOS forbids.
bool IsLegal83Name(std::string_view Name);
// The short form of one name: a legal 8.3 name as it is, else Wine's hashed form, upper case:
// four valid characters, "~" padding to five, three hash characters, "." and three extension
// characters.
std::string ShortFileName(std::string_view LongName);
// GetShortPathName: every component of an existing Windows path replaced by its short form,
// the drive kept ("C:\Program Files\My App\setup.exe" -> "C:\PROG~XYZ\MY_A~XYZ\setup.exe").
// Components are looked up as they exist (their stored case decides the hash).
// EInOutError when the path does not exist.
std::string ShortPathName(std::string_view LongPath);

} // namespace qnl
