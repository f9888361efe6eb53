// Float-to-integer conversions that are defined for every input (NaN, infinities, huge
// values), since file data may hold any bit pattern and C++ leaves such casts undefined; and
// the one linear interpolation every library uses.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace skerrow {

// Truncation toward zero (Pascal Trunc). NaN gives 0; values beyond int32 saturate.
inline int32_t TruncToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

// Rounding to nearest with ties to even (Pascal Round). NaN gives 0; saturates like TruncToInt.
inline int32_t RoundToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(std::nearbyint(v));  // default rounding mode: ties to even
}

// Index clamp for grids: a value (possibly NaN) mapped to 0..limit.
inline int32_t ClampIndex(double v, int32_t limit) {
  int32_t i = TruncToInt(v);
  return i < 0 ? 0 : (i > limit ? limit : i);
}

// a at t = 0, b at t = 1, a + (b - a) t in between and beyond.
inline constexpr double Lerp(double a, double b, double t) {
  return a + (b - a) * t;
}

}  // namespace skerrow
