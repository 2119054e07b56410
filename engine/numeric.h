// Conversions of model values to whole numbers that stay defined for any input.
#pragma once

#include <cmath>
#include <limits>

namespace keldovar {

// The integer part, as a C cast gives it, clamped to the int range; NaN gives 0.
inline int truncToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(std::numeric_limits<int>::max())) {
    return std::numeric_limits<int>::max();
  }
  if (value <= static_cast<double>(std::numeric_limits<int>::min())) {
    return std::numeric_limits<int>::min();
  }
  return static_cast<int>(value);
}

// The integer part plus 1 when the fraction is 0.5 or more (positive values).
inline double roundHalfUpWhole(double value) {
  double whole = std::trunc(value);
  return value - whole >= 0.5 ? whole + 1 : whole;
}

}  // namespace keldovar
