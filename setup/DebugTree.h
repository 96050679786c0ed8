// A readable listing of a loaded project, for debugging.
#pragma once

#include <string>

#include "rtl/Classes.h"

namespace qnl {

// One line per component, "Name: TClass" followed by its main property values (strings,
// enumerations, sets, references, non-zero integers); the root first. Components are indented
// under the component their Container property names, so that the listing shows the
// installation tree; components without a container stand directly under the root. Text is
// the components' bytes, unconverted.
std::string DescribeComponentTree(const TComponent& Root);

} // namespace qnl
