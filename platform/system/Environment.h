// The process's environment variables.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qnl {

// GetEnvironmentVariable: the value of the process's variable Name, or std::nullopt when
// it is not set (an empty value is returned as it is). The value keeps its host bytes.
std::optional<std::string> GetEnvironmentVariable(std::string_view Name);
// Sets the process's variable Name to Value, or removes it for std::nullopt.
void SetEnvironmentVariable(std::string_view Name, const std::optional<std::string>& Value);

// Whether the process's standard error is a terminal (a person watches it).
bool StandardErrorIsTerminal();

} // namespace qnl
