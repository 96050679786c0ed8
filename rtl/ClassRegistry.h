// The whole class registry, for the tools that list it (the reference of the classes).
#pragma once

#include <vector>

#include "rtl/TypInfo.h"

namespace qnl {

// Every registered class, ordered by name.
std::vector<const TClassInfo*> RegisteredClasses();

} // namespace qnl
