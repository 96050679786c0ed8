// The name of a C++ type as its source spells it, from the compiler's run-time type name.
#pragma once

#include <string>

namespace qnl {

// "std::function<void (qnl::TObject*, bool&)>" from a type_info's or type_index's name();
// that name itself when it cannot tell.
std::string ReadableTypeName(const char* CompilerName);

} // namespace qnl
