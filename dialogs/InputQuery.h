// A one-line question: a prompt, an edit, OK and Cancel.
#pragma once

#include <string>

namespace qnl {

// Shows the question modally with Value in the edit; true and the edited Value on OK, false
// (Value untouched) on Cancel.
bool InputQuery(const std::string& Caption, const std::string& Prompt, std::string& Value);

} // namespace qnl
