// The self-register mark: "OLESelfRegister" in the string table of a file's version resource.
#pragma once

#include <string>

namespace qnl {

// Whether the file at Path carries the mark; a file that cannot be read has none.
bool HasSelfRegisterMarkSafely(const std::string& Path);

} // namespace qnl
