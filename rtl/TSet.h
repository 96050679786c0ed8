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
  constexpr TSet(std::initializer_list<E> Members) {
    for (E m : Members) Include(m);
  }
  static constexpr TSet FromMask(uint32_t Mask) {
    TSet s;
    s.FMask = Mask;
    return s;
  }
  constexpr uint32_t Mask() const { return FMask; }
  constexpr bool Contains(E M) const { return Valid(M) && (FMask >> Ord(M)) & 1u; }
  constexpr TSet& Include(E M) {
    if (Valid(M)) FMask |= 1u << Ord(M);
    return *this;
  }
  constexpr TSet& Exclude(E M) {
    if (Valid(M)) FMask &= ~(1u << Ord(M));
    return *this;
  }
  constexpr bool Empty() const { return FMask == 0; }
  constexpr bool operator==(const TSet&) const = default;
  constexpr TSet operator+(TSet O) const { return FromMask(FMask | O.FMask); }
  constexpr TSet operator-(TSet O) const { return FromMask(FMask & ~O.FMask); }
  constexpr TSet operator*(TSet O) const { return FromMask(FMask & O.FMask); }

private:
  static constexpr int Ord(E M) { return static_cast<int>(M); }
  static constexpr bool Valid(E M) { return Ord(M) >= 0 && Ord(M) < 32; }
  uint32_t FMask = 0;
};

} // namespace qnl
