// The process's environment variables, read from the host's environment.
#include "platform/system/Environment.h"

#include <cstdlib>
#include <unistd.h>

namespace qnl {

std::optional<std::string> GetEnvironmentVariable(std::string_view Name) {
  const char* value = std::getenv(std::string(Name).c_str());
  if (!value) return std::nullopt;
  return std::string(value);
}

void SetEnvironmentVariable(std::string_view Name, const std::optional<std::string>& Value) {
  std::string name(Name);
  if (Value)
    ::setenv(name.c_str(), Value->c_str(), 1);
  else
    ::unsetenv(name.c_str());
}

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

} // namespace qnl
