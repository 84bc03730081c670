#pragma once
// The hatch settings dialog's preview of the line hatch, drawn from the
// dialog's working values rather than the settings.
#include <cstdint>

#include "render/pattern_canvas.h"

namespace pw::render {

struct HatchWorkingValues {
  std::uint32_t background_color = 0x0080FF80;
  std::uint32_t hatch_color = 0x00A83E3E;
  int width = 0;
  int spacing = 8;
  int angle = 0;
  bool vertical_lines = true;    // the first family
  bool horizontal_lines = true;  // the second family
};

// Fills `rect` with the working background colour and draws the line hatch
// over it at factor 1. A width, spacing or angle below 0 means the working
// value; a spacing of 0 is drawn as 1. Lines are not clipped to the
// rectangle: the dialog paints over what runs outside it.
void DrawLineHatchPreview(PatternCanvas& canvas, const PageRect& rect, int vertical_offset,
                          int pen_width, int spacing, int angle, const HatchWorkingValues& working);

}  // namespace pw::render
