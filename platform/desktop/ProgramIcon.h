// Internal to platform/desktop: the icon a Windows program carries, as an .ico file.
#pragma once

#include <optional>
#include <string>

namespace qnl {

// The first icon group of the PE program UnixProgram (its RT_GROUP_ICON resource with the
// RT_ICON images it names) as the bytes of an .ico file; nullopt when the program cannot be
// read, carries no icon or has damaged resources.
std::optional<std::string> ProgramIcon(const std::string& UnixProgram);

} // namespace qnl
