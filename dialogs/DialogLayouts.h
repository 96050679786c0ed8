// The layouts of the system's own dialog forms, compiled from the text forms of
// dialogs/forms/ into form resources when the program is built.
#pragma once

#include <string_view>

namespace qnl {

// The form resource of the layout of that name (the form's class name); empty when unknown.
std::string_view DialogLayout(std::string_view Name);

} // namespace qnl
