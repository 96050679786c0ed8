// What a statement raises.
#include "tests/support/MessageOf.h"

#include <exception>

namespace qnl::test {

std::string MessageOf(const std::function<void()>& Body) {
  try {
    Body();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "(no exception)";
}

} // namespace qnl::test
