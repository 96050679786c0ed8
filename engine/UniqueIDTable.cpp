// The process-wide allocation of install files' UniqueIDs.
#include "engine/UniqueIDTable.h"

namespace qnl {

int32_t TUniqueIDTable::Allocate() {
  for (int32_t id = 0; id < kCount; ++id)
    if (!FUsed[id]) {
      FUsed[id] = true;
      return id;
    }
  return 0;
}

void TUniqueIDTable::Release(int32_t ID) {
  if (InRange(ID)) FUsed[ID] = false;
}

void TUniqueIDTable::MarkLoaded(int32_t ID) {
  if (!FResetAfterLoad) {
    FUsed.fill(false);
    FResetAfterLoad = true;
  }
  // A streamed number outside the table names no member; it is kept but marks nothing.
  if (InRange(ID)) FUsed[ID] = true;
}

void TUniqueIDTable::Reset() {
  FUsed.fill(false);
  FResetAfterLoad = false;
}

} // namespace qnl
