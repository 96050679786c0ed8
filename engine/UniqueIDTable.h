// The process-wide allocation of install files' UniqueIDs.
#pragma once

#include <array>
#include <cstdint>

namespace qnl {

// 2000 used-flags and a flag that says whether the table was reset after loading began.
class TUniqueIDTable {
public:
  static constexpr int kCount = 2000;
  // The lowest unused number, now used; 0 when all are used (then shared).
  int32_t Allocate();
  void Release(int32_t ID);
  // A streamed file: the first one of the process clears the table, each marks its number.
  void MarkLoaded(int32_t ID);
  bool Used(int32_t ID) const { return InRange(ID) && FUsed[ID]; }
  // Clears all flags and the reset flag (a new process, for tests).
  void Reset();

private:
  static bool InRange(int32_t ID) { return ID >= 0 && ID < kCount; }
  std::array<bool, kCount> FUsed{};
  bool FResetAfterLoad = false;
};

} // namespace qnl
