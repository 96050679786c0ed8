// The archive component's progress record.
#pragma once

#include <cstdint>
#include <string>

#include "archive/TFileHeaderRecord.h"

namespace qnl {

// Progress of one archive operation: the current member and the whole operation. Byte
// fields keep the low 8 bits of their rounded percentage; a zero divisor gives 0.
struct TlzhFileStats {
  uint8_t FilePercentDone = 0;
  int32_t BytesDone = 0;
  std::string FileName;
  int32_t CompressedSize = 0;
  uint8_t Ratio = 0;
  int32_t FileSize = 0;
  TFileHeaderRecord Header;
  bool Finished = false;
  uint8_t TotalPercentDone = 0;
  int32_t TotalBytesDone = 0;
  int32_t TotalCompressed = 0;
  uint8_t TotalRatio = 0;
  int32_t TotalSize = 0;
};

// round(part / whole * 100), halves to even, 0 for a zero whole, low 8 bits kept.
uint8_t PercentByte(double Part, double Whole);

// Fills the member part of Stats from a header: name, sizes, header copy, ratio;
// counters 0 and Finished false.
void HeaderToStats(const TFileHeaderRecord& Header, TlzhFileStats& Stats);

} // namespace qnl
