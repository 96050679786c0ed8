// Percentages of the progress record.
#include "archive/TlzhFileStats.h"

#include "rtl/Math.h"

namespace qnl {

uint8_t PercentByte(double Part, double Whole) { return static_cast<uint8_t>(Percent(Part, Whole) & 0xFF); }

void HeaderToStats(const TFileHeaderRecord& Header, TlzhFileStats& Stats) {
  Stats.FileName = Header.FileName();
  Stats.FileSize = Header.FileSize();
  Stats.CompressedSize = Header.CompressedSize();
  Stats.Header = Header;
  Stats.BytesDone = 0;
  Stats.FilePercentDone = 0;
  Stats.Finished = false;
  Stats.Ratio = PercentByte(Stats.CompressedSize, Stats.FileSize);
}

} // namespace qnl
