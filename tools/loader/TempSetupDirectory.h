// The fresh directory the loading program unpacks into, and waiting for its removal.
#pragma once

#include <chrono>
#include <string>

namespace qnl {

// Creates a new directory with a name of its own ("QNL" and five hexadecimal digits) in the
// machine's temporary directory and returns its path; a name that exists already is never
// taken. ELoadProgram when there is no usable temporary directory or no free name.
std::string CreateTempSetupDirectory();

// Returns once Dir no longer exists, or when Limit has passed; True when it is gone.
bool WaitUntilRemoved(const std::string& Dir, std::chrono::milliseconds Limit);

} // namespace qnl
