// The mark Tag -1, which at most one instance of a decoration class carries.
#pragma once

#include <cstdint>

#include "rtl/Classes.h"

namespace qnl {

constexpr int32_t kMarkTag = -1;

// Keeps the mark of class T on at most one instance: T's Tag writer calls Write, its
// destructor Release. Giving the mark to an instance first writes 0 to the one that had it.
template <class T>
class TMarkedInstance {
public:
  static T* Marked() { return FMarked; }

  static void Write(T* Instance, int32_t Value) {
    if (Value == kMarkTag) {
      if (FMarked && FMarked != Instance) FMarked->SetTag(0);
      FMarked = Instance;
    } else if (FMarked == Instance) {
      FMarked = nullptr;
    }
    static_cast<TComponent*>(Instance)->SetTag(Value);
  }

  // An instance made at design time takes the mark when no instance has it.
  static void Created(T* Instance) {
    if (Instance->IsDesigning() && !FMarked) Write(Instance, kMarkTag);
  }

  static void Release(T* Instance) {
    if (FMarked == Instance) FMarked = nullptr;
  }

private:
  static inline T* FMarked = nullptr;
};

} // namespace qnl
