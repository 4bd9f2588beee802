#pragma once
// Conversions of computed coordinates to whole window pixels.

#include <cmath>
#include <limits>

// Truncates toward zero; NaN gives 0 and values beyond the int range stop at its ends, so a wild
// scale factor or angle cannot turn into undefined behaviour.
inline int TruncToInt(double v) {
  if (std::isnan(v)) return 0;
  constexpr double kMin = std::numeric_limits<int>::min();
  constexpr double kMax = std::numeric_limits<int>::max();
  if (v <= kMin) return std::numeric_limits<int>::min();
  if (v >= kMax) return std::numeric_limits<int>::max();
  return static_cast<int>(v);
}

// Truncates a position computed with trigonometry. The degree constant leaves cos(90) at about
// 2e-9 instead of 0, which plain truncation would turn into a pixel lost (275.9999996 -> 275), so
// values within a millionth of a pixel of a whole number count as that number.
inline int TruncPixel(double v) {
  constexpr double kSnap = 1e-6;
  const double whole = std::round(v);
  return TruncToInt(std::fabs(v - whole) < kSnap ? whole : v);
}
