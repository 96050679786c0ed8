// What a statement raises, and waiting for what happens after a program's end.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace qnl::test {

// The message of the exception Body raises; "(no exception)" when none.
std::string MessageOf(const std::function<void()>& Body);

// Waits up to ten seconds for Done() to hold: what a program started detached, or a batch
// file run after its program ended, does may come after the program's end. False on timeout.
template <class Condition>
bool WaitUntil(Condition Done) {
  auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!Done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

} // namespace qnl::test
