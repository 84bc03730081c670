#include "render/render_options.h"

#include <algorithm>

namespace pw::render {

RenderOptions Clamped(RenderOptions options) {
  options.KodAntialias = std::clamp(options.KodAntialias, 0, kMaxAntialias);
  options.ScaleCur = std::clamp(options.ScaleCur, kMinScale, kMaxScale);
  auto& bg = options.background;
  // A spacing of 0 would put every line on one spot and divide by zero when
  // centring the pattern; 1 is the closest spacing that can be drawn.
  bg.lvHatchDepress = std::clamp(bg.lvHatchDepress, 1, 100000);
  bg.lvHatchWidth = std::clamp(bg.lvHatchWidth, 0, 10000);
  return options;
}

}  // namespace pw::render
