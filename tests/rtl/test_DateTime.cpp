// Date-time conversions at and past the ends of the calendar.
#include <gtest/gtest.h>

#include <cmath>

#include "rtl/DateTime.h"

using namespace qnl;

TEST(DateTime, ValuesOutsideTheCalendarDecodeAsNoDate) {
  const double first = EncodeDate(1, 1, 1), last = EncodeDate(9999, 12, 31) + 0.999;
  for (double value : {first, last, first - 0.5, last + 0.01, std::nan(""), HUGE_VAL, -HUGE_VAL, 1e300, -1e300}) {
    bool inRange = value == first || value == last;
    EXPECT_EQ(InDateRange(value), inRange) << value;
    int y = -1, m = -1, d = -1, h = -1, mi = -1, s = -1, ms = -1;
    DecodeDate(value, y, m, d);
    DecodeTime(value, h, mi, s, ms);
    EXPECT_EQ(y != 0 && m != 0 && d != 0, inRange) << value;
    EXPECT_TRUE(h >= 0 && h < 24 && mi >= 0 && mi < 60 && s >= 0 && s < 60 && ms >= 0 && ms < 1000) << value;
  }
}
