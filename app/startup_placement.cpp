#include "app/startup_placement.h"

#include <algorithm>

namespace pw::app {

namespace {

Placement DefaultPlacement(WindowSize maximized) {
  Placement placement;
  // Truncated toward zero, as a conversion of the product to int does.
  placement.right = static_cast<int>(0.85 * maximized.width);
  placement.bottom = static_cast<int>(0.8 * maximized.height);
  return placement;
}

}  // namespace

Placement ComputePlacement(const StoredPlacement& stored, WindowSize maximized) {
  Placement placement;
  if (stored.main_win_max != 0) {
    placement.right = maximized.width;
    placement.bottom = maximized.height;
    placement.maximized = true;
    return placement;
  }
  if (stored.bottom < 1) {
    placement = DefaultPlacement(maximized);
  } else {
    placement.left = stored.left;
    placement.top = stored.top;
    placement.right = stored.right;
    placement.bottom = stored.bottom;
  }
  placement.right = std::min(placement.right, maximized.width);
  placement.bottom = std::min(placement.bottom, maximized.height);
  placement.left = std::max(placement.left, 0);
  placement.top = std::max(placement.top, 0);
  // Edges stored on a larger screen can leave nothing after the cut (left
  // beyond the new right edge): such a window would open with no size at
  // all, so it opens as if nothing had been stored.
  if (placement.width() <= 0 || placement.height() <= 0) return DefaultPlacement(maximized);
  return placement;
}

}  // namespace pw::app
