// Profile (INI) files of the machine, read and written as kernel32's private profile calls do.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qnl {

// WritePrivateProfileString(Section, Key, Value, FileName): sets Key in Section, both
// found without regard to case; a missing section is added at the end of the file and a
// missing key after the last entry of its section. Every other line stays as it was. A missing
// file is created (its directory must exist); lines end with CR LF. The file is replaced in one
// step, so a failure leaves the old one: errors as ReplaceFileContents (platform/files/WholeFile.h).
void WriteProfileString(std::string_view FileName, std::string_view Section, std::string_view Key,
                        std::string_view Value);

// GetPrivateProfileString: the value of Key in Section without surrounding blanks; nullopt when
// the file, the section or the key is missing. EInOutError when the file cannot be read.
std::optional<std::string> ReadProfileString(std::string_view FileName, std::string_view Section, std::string_view Key);

} // namespace qnl
