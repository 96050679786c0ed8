// TDateTime.
#include "rtl/DateTime.h"

#include <cmath>

#include "rtl/Exceptions.h"

namespace qnl {

namespace {
const int kDaysInMonth[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                 {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};
constexpr int64_t kMSecsPerDay = 86400000;

// Day number of the date counting 0001-01-01 as day 1 (proleptic Gregorian calendar), the
// count kDelta is taken from.
int64_t DaysFromCivil(int Y, int M, int D) {
  int64_t days = 0;
  int64_t yy = Y - 1;
  days = yy * 365 + yy / 4 - yy / 100 + yy / 400;
  for (int i = 0; i < M - 1; ++i) days += kDaysInMonth[IsLeapYear(Y)][i];
  return days + D;
}
constexpr int64_t kDelta = 693594;          // days from 0001-01-01 to 1899-12-30
constexpr double kMinDateTime = 1 - kDelta; // 0001-01-01 00:00
constexpr double kEndDateTime = 2958466;    // 10000-01-01 00:00, the first day past the range
} // namespace

bool InDateRange(TDateTime Value) { return Value >= kMinDateTime && Value < kEndDateTime; }

bool IsLeapYear(int Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Result) {
  if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > kDaysInMonth[IsLeapYear(Year)][Month - 1])
    return false;
  Result = static_cast<double>(DaysFromCivil(Year, Month, Day) - kDelta);
  return true;
}

TDateTime EncodeDate(int Year, int Month, int Day) {
  TDateTime r;
  if (!TryEncodeDate(Year, Month, Day, r)) throw EConvertError("Invalid argument to date encode");
  return r;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec) {
  if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 || MSec > 999)
    throw EConvertError("Invalid argument to time encode");
  return (Hour * 3600000.0 + Min * 60000.0 + Sec * 1000.0 + MSec) / kMSecsPerDay;
}

void DecodeDate(TDateTime Date, int& Year, int& Month, int& Day) {
  // Converting a day count that no int64_t holds (NaN, 1e300) would be undefined.
  if (!InDateRange(Date)) {
    Year = Month = Day = 0;
    return;
  }
  // Days since 0001-01-01 counting that day as 0.
  int64_t days = static_cast<int64_t>(std::floor(Date)) + kDelta - 1;
  // Walk 400-, 100-, 4- and 1-year cycles as the library does.
  int64_t y400 = days / 146097;
  days %= 146097;
  int64_t y100 = days / 36524;
  if (y100 == 4) y100 = 3;
  days -= y100 * 36524;
  int64_t y4 = days / 1461;
  days %= 1461;
  int64_t y1 = days / 365;
  if (y1 == 4) y1 = 3;
  days -= y1 * 365;
  Year = static_cast<int>(y400 * 400 + y100 * 100 + y4 * 4 + y1 + 1);
  const int* months = kDaysInMonth[IsLeapYear(Year)];
  Month = 1;
  while (days >= months[Month - 1]) {
    days -= months[Month - 1];
    ++Month;
  }
  Day = static_cast<int>(days) + 1;
}

void DecodeTime(TDateTime Time, int& Hour, int& Min, int& Sec, int& MSec) {
  if (!std::isfinite(Time)) {
    Hour = Min = Sec = MSec = 0;
    return;
  }
  double frac = std::fabs(Time - std::trunc(Time));
  int64_t ms = static_cast<int64_t>(std::llround(frac * kMSecsPerDay));
  if (ms >= kMSecsPerDay) ms = kMSecsPerDay - 1;
  Hour = static_cast<int>(ms / 3600000);
  Min = static_cast<int>(ms / 60000 % 60);
  Sec = static_cast<int>(ms / 1000 % 60);
  MSec = static_cast<int>(ms % 1000);
}

TDateTime UnixToDateTime(int64_t Seconds) { return Seconds / 86400.0 + kUnixDateDelta; }

int64_t DateTimeToUnix(TDateTime Value) {
  return static_cast<int64_t>(std::llround((Value - kUnixDateDelta) * 86400.0));
}

uint32_t DateTimeToFileDate(TDateTime Value) {
  int y, mo, d, h, mi, s, ms;
  DecodeDate(Value, y, mo, d);
  if (y < 1980 || y > 2107) return 0;
  DecodeTime(Value, h, mi, s, ms);
  uint32_t date = uint32_t((y - 1980) << 9 | mo << 5 | d);
  uint32_t time = uint32_t(h << 11 | mi << 5 | s / 2);
  return date << 16 | time;
}

TDateTime FileDateToDateTime(uint32_t FileDate) {
  uint32_t date = FileDate >> 16, time = FileDate & 0xFFFF;
  TDateTime d;
  if (!TryEncodeDate(int(date >> 9) + 1980, int(date >> 5 & 15), int(date & 31), d)) return 0;
  int h = int(time >> 11), m = int(time >> 5 & 63), s = int(time & 31) * 2;
  if (h > 23 || m > 59 || s > 59) return d;
  return d + EncodeTime(h, m, s, 0);
}

} // namespace qnl
