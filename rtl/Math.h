// Numeric helpers with the run-time library's rounding.
#pragma once

#include <cstdint>

namespace qnl {

// Rounds to the nearest integer, halves to even (banker's rounding), as the library does.
int64_t Round(double Value);

// (a * b) / c with a 64-bit intermediate, rounded to nearest; -1 when c is 0, as Windows.
int32_t MulDiv(int32_t A, int32_t B, int32_t C);

// round(part / whole * 100) with halves to even; 0 when whole is 0.
int Percent(double Part, double Whole);

} // namespace qnl
