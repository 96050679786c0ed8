// Clean-ups tied to a scope: state that a call sets for its own duration does not outlive
// the call, whether it returns or throws.
#pragma once

#include <exception>
#include <utility>

namespace qnl {

// Runs Action when the scope is left, normally or by an exception. Action must not throw:
// it may run while an exception unwinds the stack.
template <class F>
class [[nodiscard]] TScopeExit {
public:
  explicit TScopeExit(F Action) : FAction(std::move(Action)) {}
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;
  ~TScopeExit() { FAction(); }

private:
  F FAction;
};

// Runs Action only when the scope is left by an exception: a call that succeeds keeps what
// it set. Action must not throw.
template <class F>
class [[nodiscard]] TScopeFail {
public:
  explicit TScopeFail(F Action) : FAction(std::move(Action)), FUncaught(std::uncaught_exceptions()) {}
  TScopeFail(const TScopeFail&) = delete;
  TScopeFail& operator=(const TScopeFail&) = delete;
  ~TScopeFail() {
    if (std::uncaught_exceptions() > FUncaught) FAction();
  }

private:
  F FAction;
  int FUncaught;
};

// Sets Flag for the life of the scope and clears it when the scope is left. It clears rather
// than restores: a nested guard on the same flag leaves it cleared for the outer scope too.
class [[nodiscard]] TFlagGuard {
public:
  explicit TFlagGuard(bool& Flag) : FFlag(Flag) { FFlag = true; }
  TFlagGuard(const TFlagGuard&) = delete;
  TFlagGuard& operator=(const TFlagGuard&) = delete;
  ~TFlagGuard() { FFlag = false; }

private:
  bool& FFlag;
};

} // namespace qnl
