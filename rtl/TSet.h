// A set of a small enumeration, stored as a bit mask (bit n = member n).
#pragma once

#include <cstdint>
#include <initializer_list>

namespace qnl {

// Members with an ordinal above 31 cannot be stored; streaming ignores them.
template <typename E>
class TSet {
public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> members) {
    for (E m : members) Include(m);
  }
  static constexpr TSet FromMask(uint32_t mask) {
    TSet s;
    s.FMask = mask;
    return s;
  }
  constexpr uint32_t Mask() const { return FMask; }
  constexpr bool Contains(E m) const { return Valid(m) && (FMask >> Ord(m)) & 1u; }
  constexpr TSet& Include(E m) {
    if (Valid(m)) FMask |= 1u << Ord(m);
    return *this;
  }
  constexpr TSet& Exclude(E m) {
    if (Valid(m)) FMask &= ~(1u << Ord(m));
    return *this;
  }
  constexpr bool Empty() const { return FMask == 0; }
  constexpr bool operator==(const TSet&) const = default;
  constexpr TSet operator+(TSet o) const { return FromMask(FMask | o.FMask); }
  constexpr TSet operator-(TSet o) const { return FromMask(FMask & ~o.FMask); }
  constexpr TSet operator*(TSet o) const { return FromMask(FMask & o.FMask); }

private:
  static constexpr int Ord(E m) { return static_cast<int>(m); }
  static constexpr bool Valid(E m) { return Ord(m) >= 0 && Ord(m) < 32; }
  uint32_t FMask = 0;
};

} // namespace qnl
