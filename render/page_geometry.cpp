#include "render/page_geometry.h"

#include <algorithm>
#include <cmath>

namespace pw::render {

double SizingResolution(double resolution) {
  if (!(resolution > 0)) return 72.0;  // also catches NaN
  return std::min(resolution, kMaxResolution);
}

namespace {

// ceil() of a value that may lie far outside int, kept in long long range.
long long CeilToCount(double value) {
  const double up = std::ceil(value);
  if (!(up > 0)) return 0;
  if (up > 1e15) return static_cast<long long>(1e15);
  return static_cast<long long>(up);
}

}  // namespace

PageGeometry ComputePageGeometry(const std::optional<Frame>& frame, double resolution,
                                 int scale_percent, bool thumbnail) {
  PageGeometry geometry;
  if (!frame) {
    geometry.columns = kPlaceholderColumns;
    geometry.rows = kPlaceholderRows;
    return geometry;
  }
  // Differences in double: a hostile frame may span more than int holds.
  double w = static_cast<double>(frame->right) - frame->left;
  double h = static_cast<double>(frame->bottom) - frame->top;
  geometry.width_mm = static_cast<int>(std::ceil(w * 0.01));
  geometry.height_mm = static_cast<int>(std::ceil(h * 0.01));
  if (!thumbnail) {
    w = std::trunc(w * scale_percent * 0.01);
    h = std::trunc(h * scale_percent * 0.01);
  }
  const double r = SizingResolution(resolution);
  geometry.columns = CeilToCount(w * r * kInchPerFrameUnit);
  geometry.rows = CeilToCount(h * r * kInchPerFrameUnit);
  return geometry;
}

}  // namespace pw::render
