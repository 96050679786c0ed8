// Demangling through the C++ runtime's ABI library.
#include "platform/system/TypeName.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>

namespace qnl {

std::string ReadableTypeName(const char* CompilerName) {
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(CompilerName, nullptr, nullptr, &status), std::free);
  return status == 0 && name ? std::string(name.get()) : std::string(CompilerName);
}

} // namespace qnl
