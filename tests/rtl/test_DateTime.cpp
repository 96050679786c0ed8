// Date-time conversions at and past the ends of the calendar.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "rtl/DateTime.h"

using namespace qnl;

TEST(DateTime, ValuesOutsideTheCalendarDecodeAsNoDate) {
  const double inf = std::numeric_limits<double>::infinity();
  struct TRow {
    const char* Label;
    double Value;
    bool InRange;
  } rows[] = {
      {"0001-01-01", EncodeDate(1, 1, 1), true},
      {"9999-12-31 23:59", EncodeDate(9999, 12, 31) + EncodeTime(23, 59, 0, 0), true},
      {"the day before 0001-01-01", EncodeDate(1, 1, 1) - 0.5, false},
      {"10000-01-01", EncodeDate(9999, 12, 31) + 1, false},
      {"NaN", std::nan(""), false},
      {"infinity", inf, false},
      {"minus infinity", -inf, false},
      {"1e300", 1e300, false},
      {"-1e300", -1e300, false},
  };
  for (const TRow& row : rows) {
    EXPECT_EQ(InDateRange(row.Value), row.InRange) << row.Label;
    int y = -1, m = -1, d = -1, h = -1, mi = -1, s = -1, ms = -1;
    DecodeDate(row.Value, y, m, d);
    DecodeTime(row.Value, h, mi, s, ms);
    EXPECT_EQ(y != 0, row.InRange) << row.Label;
    EXPECT_TRUE(h >= 0 && h < 24 && mi >= 0 && mi < 60 && s >= 0 && s < 60 && ms >= 0 && ms < 1000) << row.Label;
    if (!row.InRange) {
      EXPECT_EQ(m + d, 0) << row.Label;
      EXPECT_EQ(DateTimeToFileDate(row.Value), 0u) << row.Label;
    }
  }
}
