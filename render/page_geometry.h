#pragma once
// How big a rendered page is: the page size in millimetres (unscaled) and
// the image size in pixels, from the metafile's picture frame.
#include <optional>
#include <string_view>

#include "platform/limits/limits.h"

namespace pw::render {

// The picture frame of a metafile (rclFrame), in 0.01 mm.
struct Frame {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

inline constexpr double kInchPerFrameUnit = 0.0003937007874015748;

// Resolutions above this are taken as this: no printer prints finer, and the
// drawing surface must stay within reach of memory.
inline constexpr double kMaxResolution = 2400.0;
// The largest image a render will make (see limits.h for why).
inline constexpr long long kMaxPagePixels = limits::kPagePixels.value;
// The longest side a render will make.
inline constexpr long long kMaxPageSide = limits::kPageSide.value;
// The size of the placeholder drawn for a page without a metafile.
inline constexpr int kPlaceholderColumns = 250;
inline constexpr int kPlaceholderRows = 200;

struct PageGeometry {
  // ceil(frame size x 0.01); only known when there is a metafile.
  std::optional<int> width_mm;
  std::optional<int> height_mm;
  long long columns = 0;
  long long rows = 0;

  // Why the image cannot be made (no pixel, a side over kMaxPageSide, more
  // than kMaxPagePixels), as the user is told; nothing when it can.
  std::optional<std::string_view> Problem() const {
    if (columns < 1 || rows < 1) return "The page has no area.";
    if (columns > kMaxPageSide || rows > kMaxPageSide) return limits::kPageSide.message;
    if (columns > kMaxPagePixels / rows) return limits::kPagePixels.message;
    return std::nullopt;
  }
  bool Drawable() const { return !Problem(); }
};

// The resolution used for sizing: r > 0 (at most kMaxResolution), else 72.
double SizingResolution(double resolution);

// The page geometry of one render. A thumbnail render ignores the page scale;
// scale_percent is taken as it is (callers clamp it).
PageGeometry ComputePageGeometry(const std::optional<Frame>& frame, double resolution,
                                 int scale_percent, bool thumbnail);

}  // namespace pw::render
