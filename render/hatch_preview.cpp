#include "render/hatch_preview.h"

#include <algorithm>
#include <cmath>

#include "render/line_hatch.h"

namespace pw::render {

void DrawLineHatchPreview(PatternCanvas& canvas, const PageRect& rect, int vertical_offset,
                          int pen_width, int spacing, int angle, const HatchWorkingValues& working) {
  const int width = pen_width < 0 ? working.width : pen_width;
  const int degrees = angle < 0 ? working.angle : angle;
  const int step = std::max(spacing < 0 ? working.spacing : spacing, 1);
  const int working_step = std::max(working.spacing, 1);
  const double w = rect.Width(), h = rect.Height();

  LineHatch hatch;
  hatch.rect = rect;
  hatch.half_count = static_cast<std::int64_t>(std::trunc(std::sqrt(w * w + h * h) + 5.0));
  hatch.spacing = step;
  hatch.centre_offset = CentreOffset(rect.Width(), working_step);
  hatch.angle_radians = degrees / (180.0 / 3.141592653589793);
  // The dialog's angle switch is the working angle, not the one passed in.
  hatch.angle_zero = working.angle == 0;
  hatch.exact_quarter_turn = false;
  hatch.factor = 1;
  hatch.first_family = working.vertical_lines;
  hatch.second_family = working.horizontal_lines;
  hatch.y_offset = vertical_offset;
  hatch.pen_width = width;

  canvas.FillRect(rect, working.background_color);
  canvas.SelectSolidPen(width, working.hatch_color);
  DrawLineHatch(canvas, hatch, std::nullopt);
  canvas.RestorePen();
}

}  // namespace pw::render
