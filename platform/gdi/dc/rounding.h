#pragma once
// GDI's rounding of a coordinate to a device pixel.
#include <algorithm>
#include <cmath>

namespace pw::gdi {

// Rounds half up. Points past 2^30 lie off every surface; clamping keeps the
// conversion defined for any input, and NaN gives 0.
inline int RoundHalfUp(double v) {
  return std::isnan(v) ? 0 : static_cast<int>(std::clamp(std::floor(v + 0.5), -0x1p30, 0x1p30));
}

}  // namespace pw::gdi
