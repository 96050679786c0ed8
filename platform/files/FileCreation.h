// Making entries that must be new, and files that can be run.
#pragma once

#include <string_view>

namespace qnl {

// CreateDirectory: creates Dir itself (its parent must exist) and returns True; returns False,
// touching nothing, when something of that name exists already, so that a caller looking for
// a fresh directory can never take over an existing one. Other failures raise EInOutError.
bool CreateNewDirectory(std::string_view Dir);

// Lets an existing file be run as a program: whoever may read it may also run it. Windows
// needs no such step; files unpacked from an archive on this machine arrive without it.
// EInOutError when the file does not exist or its mode cannot be changed.
void SetExecutable(std::string_view FileName);

} // namespace qnl
