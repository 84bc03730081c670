#pragma once
// The page background: a fill, and for the styles below 99 a pattern in the
// hatch colour. All pattern coordinates are multiplied by the supersampling
// factor, so the pattern keeps its size in output pixels at every factor,
// and every y is reduced by the band offset, so the bands of a page line up.
#include <optional>

#include "render/line_hatch.h"
#include "render/pattern_canvas.h"
#include "render/render_options.h"

namespace pw::render {

// Fixed constants of the patterns (not settings).
inline constexpr int kCellWidth = 50;     // A
inline constexpr int kRowHeight = 50;     // B
inline constexpr int kVerticalOrigin = 50;  // C
inline constexpr int kWavePitch = 18;     // P
inline constexpr int kHorizontalOrigin = 0;  // X0

// The colours of the Quick Start Reference page grid.
inline constexpr std::uint32_t kQuickStartFill = 0xD4EBFF;
inline constexpr std::uint32_t kQuickStartGrid = 0xE6FAFF;

// Pass -1 as pen width, spacing or angle to use the setting.
struct BackgroundOverrides {
  int pen_width = -1;
  int spacing = -1;
  int angle = -1;
};

// The COLORREF the background first fills its whole rectangle with.
std::uint32_t BackgroundFill(const BackgroundOptions& options);

// Fills `rect` and draws the pattern of the options' style. `factor` is the
// supersampling factor the pattern is scaled by (1 for a thumbnail render).
// `visible`, when given, is the device area that can show anything: parts
// of the pattern that cannot reach it are skipped.
void DrawBackground(PatternCanvas& canvas, const PageRect& rect, int band_offset,
                    const BackgroundOptions& options, int factor,
                    const BackgroundOverrides& overrides = {},
                    const std::optional<VisibleArea>& visible = std::nullopt);

}  // namespace pw::render
