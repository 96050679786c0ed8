// Keeping windows current during long work on the one thread without slowing the work: the
// archive reports progress every few kilobytes, far more often than a window can be painted.
#pragma once

#include <chrono>

namespace qnl {

// Due at its first question, then again once an interval has passed since it last was.
class TPaintPacer {
public:
  explicit TPaintPacer(std::chrono::milliseconds Interval = std::chrono::milliseconds(40)) : FInterval(Interval) {}
  bool Due();

private:
  std::chrono::milliseconds FInterval;
  std::chrono::steady_clock::time_point FLast{};
  bool FStarted = false;
};

// Lets pending window messages be processed when the process-wide pacer is due; the
// archive's message pump during extraction.
void ProcessMessagesPaced();

} // namespace qnl
