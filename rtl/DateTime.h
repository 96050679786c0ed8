// TDateTime: days since 1899-12-30 00:00 as a double, the time of day as the fraction.
#pragma once

#include <cstdint>

namespace qnl {

using TDateTime = double;

// Days from 1899-12-30 to 1970-01-01.
constexpr double kUnixDateDelta = 25569.0;

// True when Value is a date-time of the years 1 to 9999, the range these routines convert;
// never for NaN or an infinity.
bool InDateRange(TDateTime Value);

bool IsLeapYear(int Year);
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Result);
TDateTime EncodeDate(int Year, int Month, int Day); // EConvertError "Invalid argument to date encode"
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
// A date outside InDateRange decodes as year, month and day 0.
void DecodeDate(TDateTime Date, int& Year, int& Month, int& Day);
// NaN and the infinities decode as midnight.
void DecodeTime(TDateTime Time, int& Hour, int& Min, int& Sec, int& MSec);

// Seconds since 1970-01-01 (of whatever zone the caller means) to TDateTime and back.
TDateTime UnixToDateTime(int64_t Seconds);
int64_t DateTimeToUnix(TDateTime Value);

// The MS-DOS date and time (date in the high word) of a TDateTime and back.
uint32_t DateTimeToFileDate(TDateTime Value);
TDateTime FileDateToDateTime(uint32_t FileDate);

} // namespace qnl
