// Numeric helpers with the run-time library's rounding.
#include "rtl/Math.h"

#include <cmath>
#include <cstdlib>

namespace qnl {

int64_t Round(double value) {
  double r = std::nearbyint(value); // the default rounding mode is to nearest, ties to even
  return static_cast<int64_t>(r);
}

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  int64_t p = int64_t(a) * int64_t(b);
  int64_t half = std::llabs(c) / 2;
  // Windows rounds half away from zero here.
  int64_t q = ((p >= 0) == (c > 0)) ? (std::llabs(p) + half) / std::llabs(c)
                                     : -((std::llabs(p) + half) / std::llabs(c));
  if (q > INT32_MAX || q < INT32_MIN) return -1;
  return static_cast<int32_t>(q);
}

int Percent(double part, double whole) {
  if (whole == 0) return 0;
  double v = part / whole * 100.0;
  if (!std::isfinite(v)) return 0;
  return static_cast<int>(Round(v));
}

} // namespace qnl
