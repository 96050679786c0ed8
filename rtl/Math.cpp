// Numeric helpers with the run-time library's rounding.
#include "rtl/Math.h"

#include <cmath>
#include <cstdlib>

namespace qnl {

int64_t Round(double Value) {
  double r = std::nearbyint(Value); // the default rounding mode is to nearest, ties to even
  return static_cast<int64_t>(r);
}

int32_t MulDiv(int32_t A, int32_t B, int32_t C) {
  if (C == 0) return -1;
  int64_t p = int64_t(A) * int64_t(B);
  int64_t half = std::llabs(C) / 2;
  // Windows rounds half away from zero here.
  int64_t q =
      ((p >= 0) == (C > 0)) ? (std::llabs(p) + half) / std::llabs(C) : -((std::llabs(p) + half) / std::llabs(C));
  if (q > INT32_MAX || q < INT32_MIN) return -1;
  return static_cast<int32_t>(q);
}

int Percent(double Part, double Whole) {
  if (Whole == 0) return 0;
  double v = Part / Whole * 100.0;
  if (!std::isfinite(v)) return 0;
  return static_cast<int>(Round(v));
}

} // namespace qnl
