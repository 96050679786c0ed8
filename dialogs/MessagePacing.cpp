// Paced message processing.
#include "dialogs/MessagePacing.h"

#include "rtl/Forms.h"

namespace qnl {

bool TPaintPacer::Due() {
  auto now = std::chrono::steady_clock::now();
  if (FStarted && now - FLast < FInterval) return false;
  FStarted = true;
  FLast = now;
  return true;
}

void ProcessMessagesPaced() {
  static TPaintPacer pacer;
  if (pacer.Due()) Application().ProcessMessages();
}

} // namespace qnl
