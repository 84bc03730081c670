#pragma once
// Two families of parallel lines, turned by an angle: the line hatch of the
// page background and of the hatch dialog's preview.
#include <cstdint>
#include <optional>

#include "render/pattern_canvas.h"

namespace pw::render {

// The device area that can show anything. Lines that cannot touch it are
// not drawn, which leaves every pixel as it would be, but saves drawing
// millions of lines that lie wholly outside a band.
struct VisibleArea {
  int width = 0;
  int height = 0;
};

struct LineHatch {
  PageRect rect;                 // the lines span this rectangle
  std::int64_t half_count = 0;   // n: 2n + 1 lines, reaching n beyond the rectangle
  std::int64_t spacing = 1;      // distance between lines, before the factor
  std::int64_t centre_offset = 0;
  double angle_radians = 0;
  bool angle_zero = true;        // the angle setting is 0: no rotation at all
  bool exact_quarter_turn = false;  // 90 degrees is turned without trigonometry
  int factor = 1;                // every coordinate is multiplied by it
  bool first_family = true;      // vertical at angle 0
  bool second_family = true;     // a further quarter turn
  int y_offset = 0;              // subtracted from every y at the end
  int pen_width = 0;             // device pixels, for the visibility test
};

// Draws the line pairs k = -n ... n in order: first family, then second.
void DrawLineHatch(PatternCanvas& canvas, const LineHatch& hatch,
                   const std::optional<VisibleArea>& visible);

// The centring offset trunc((ceil(w / D) - w / D) x D x 0.5).
std::int64_t CentreOffset(int width, std::int64_t spacing);

}  // namespace pw::render
