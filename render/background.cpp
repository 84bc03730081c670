#include "render/background.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace pw::render {

namespace {

constexpr double kPi = 3.141592653589793;

struct Pattern {
  PatternCanvas& canvas;
  const PageRect& rect;
  int offset;   // band offset o
  int f;        // factor
  std::int64_t n;
  int pen;      // pen width in device pixels
  std::optional<VisibleArea> visible;

  // Whether device rows y0 .. y1 (before the band offset) can show anything.
  bool RowsVisible(std::int64_t y0, std::int64_t y1) const {
    if (!visible) return true;
    const std::int64_t m = Margin();
    return y1 - offset >= -m && y0 - offset <= visible->height + m;
  }
  bool ColumnsVisible(std::int64_t x0, std::int64_t x1) const {
    if (!visible) return true;
    const std::int64_t m = Margin();
    return x1 >= -m && x0 <= visible->width + m;
  }
  // Half a pen with its widest miter join, and a few pixels to spare.
  std::int64_t Margin() const { return std::int64_t{pen} * 5 + 4; }

  DevicePoint At(std::int64_t x, std::int64_t y) const {
    return {static_cast<int>(x * f), static_cast<int>(y * f - offset)};
  }
};

// Style 1: rows of waves, two passes half a cell apart.
void DrawWaves(const Pattern& p) {
  constexpr int A = kCellWidth, B = kRowHeight, C = kVerticalOrigin, P = kWavePitch;
  // Rows whose curves (inside their control points) can reach the band.
  std::int64_t r_lo = -p.n, r_hi = p.n;
  if (p.visible) {
    const double m = double(p.Margin());
    r_lo = std::max(r_lo, std::int64_t(std::floor(((p.offset - m) / p.f - C - B) / P)) - 1);
    r_hi = std::min(r_hi, std::int64_t(std::ceil(((p.offset + p.visible->height + m) / p.f - C + B) / P)) + 1);
  }
  for (std::int64_t r = r_lo; r <= r_hi; ++r) {
    const std::int64_t yr = r * P;
    if (!p.RowsVisible((yr - B + C) * p.f, (yr + B + C) * p.f)) continue;
    for (int phase : {0, A / 2}) {
      for (int j = -1; j <= 20; ++j) {
        const std::int64_t x = kHorizontalOrigin + phase + std::int64_t{j} * A;
        if (!p.ColumnsVisible(x * p.f, (x + A) * p.f)) continue;
        const std::array<DevicePoint, 4> points{p.At(x, yr + C), p.At(x + A / 3, yr + B + C),
                                                p.At(x + 2 * A / 3, yr - B + C),
                                                p.At(x + A, yr + C)};
        p.canvas.PolyBezier(points);
      }
    }
  }
}

// Style 0: rows of braids, two mirrored S curves per cell.
void DrawBraids(const Pattern& p) {
  constexpr int A = kCellWidth, B = kRowHeight, C = kVerticalOrigin;
  constexpr int a3 = A / 3, a4 = A / 4, b3 = B / 3, b2 = B / 2, b23 = 2 * B / 3;
  std::int64_t r_lo = -p.n, r_hi = p.n;
  if (p.visible) {
    const double m = double(p.Margin());
    r_lo = std::max(r_lo, std::int64_t(std::floor(((p.offset - m) / p.f - C - B) / B)) - 1);
    r_hi = std::min(r_hi, std::int64_t(std::ceil(((p.offset + p.visible->height + m) / p.f - C) / B)) + 1);
  }
  for (std::int64_t r = r_lo; r <= r_hi; ++r) {
    const std::int64_t t = r * B + C;
    if (!p.RowsVisible(t * p.f, (t + B) * p.f)) continue;
    for (int j = -5; j <= 30; ++j) {
      const std::int64_t xb = kHorizontalOrigin + 4 * j * A / 3;
      const std::int64_t x2 = xb + 2 * A / 3;
      if (!p.ColumnsVisible((xb - a3) * p.f, (x2 + a3) * p.f)) continue;
      const std::array<DevicePoint, 7> first{
          p.At(xb - a3, t),      p.At(xb + a4, t),      p.At(xb + a4, t + b3), p.At(xb, t + b2),
          p.At(xb - a4, t + b23), p.At(xb - a4, t + B), p.At(xb + a3, t + B)};
      const std::array<DevicePoint, 7> second{
          p.At(x2 + a3, t),      p.At(x2 - a4, t),      p.At(x2 - a4, t + b3), p.At(x2, t + b2),
          p.At(x2 + a4, t + b23), p.At(x2 + a4, t + B), p.At(x2 - a3, t + B)};
      p.canvas.PolyBezier(first);
      p.canvas.PolyBezier(second);
    }
  }
}

// Style 5: a grid of small squares, each tilted by its own angle.
void DrawTiltedSquares(const Pattern& p, int spacing_setting) {
  const std::int64_t D = spacing_setting;
  const std::int64_t f = p.f;
  const std::int64_t cell = D * f;
  const std::int64_t lo = f * (D / 5 - D / 2);
  const std::int64_t hi = f * (D - D / 2);
  const std::int64_t reach = std::int64_t(std::ceil(std::sqrt(2.0) * double(std::max(-lo, hi)))) + 1;
  const std::int64_t full_bottom = std::int64_t{p.rect.bottom} + p.offset;
  const std::int64_t i_end = full_bottom / cell + 5;
  const std::int64_t j_end = std::int64_t{p.rect.right} / cell + 5;
  std::int64_t i_start = -5;
  if (p.visible) {
    const std::int64_t first = (p.offset - reach - p.Margin()) / cell - 1;
    i_start = std::max(i_start, first);
  }
  for (std::int64_t i = i_start; i <= i_end; ++i) {
    const std::int64_t y0 = i * cell;
    if (y0 < -D || y0 > full_bottom + D) continue;
    if (!p.RowsVisible(y0 - reach, y0 + reach)) {
      if (p.visible && y0 - reach - p.offset > p.visible->height + p.Margin()) break;
      continue;
    }
    for (std::int64_t j = -5; j <= j_end; ++j) {
      const std::int64_t x0 = j * cell;
      if (x0 < -D || x0 > std::int64_t{p.rect.right} + D) continue;
      if (!p.ColumnsVisible(x0 - reach, x0 + reach)) continue;
      const double phi = std::sin(double(i + j) / 3.0) + std::cos(double(i - j) / 2.0) + 0.05;
      const double c = std::cos(phi), s = std::sin(phi);
      const std::array<std::pair<std::int64_t, std::int64_t>, 4> corners{
          {{lo, lo}, {hi, lo}, {hi, hi}, {lo, hi}}};
      std::array<DevicePoint, 4> pts;
      for (std::size_t q = 0; q < 4; ++q) {
        const double x = double(corners[q].first), y = double(corners[q].second);
        const auto rx = static_cast<std::int64_t>(std::trunc(x * c + y * s));
        const auto ry = static_cast<std::int64_t>(std::trunc(y * c - x * s));
        pts[q] = {static_cast<int>(rx + x0), static_cast<int>(ry + y0 - p.offset)};
      }
      p.canvas.MoveTo(pts[0]);
      p.canvas.LineTo(pts[1]);
      p.canvas.LineTo(pts[2]);
      p.canvas.LineTo(pts[3]);
      p.canvas.LineTo(pts[0]);
    }
  }
}

LineHatch StraightLines(const Pattern& p, int spacing, int spacing_setting, int angle,
                        bool first, bool second) {
  LineHatch h;
  h.rect = p.rect;
  h.half_count = p.n;
  h.spacing = spacing;
  h.centre_offset = CentreOffset(p.rect.Width(), spacing_setting);
  h.angle_radians = angle * kPi / 180.0;
  h.angle_zero = angle == 0;
  h.exact_quarter_turn = angle == 90;
  h.factor = p.f;
  h.first_family = first;
  h.second_family = second;
  h.y_offset = p.offset;
  h.pen_width = p.pen;
  return h;
}

}  // namespace

std::uint32_t BackgroundFill(const BackgroundOptions& o) {
  if (o.quick_start) return kQuickStartFill;
  if (o.lvBkGrHathStyle > 99) return 0x00FFFFFF;
  return o.lvCurBkGrColor;
}

void DrawBackground(PatternCanvas& canvas, const PageRect& rect, int band_offset,
                    const BackgroundOptions& o, int factor, const BackgroundOverrides& overrides,
                    const std::optional<VisibleArea>& visible) {
  const int f = std::max(factor, 1);
  const double w = rect.Width(), h = rect.Height();
  const auto n = static_cast<std::int64_t>(std::trunc(std::sqrt(w * w + h * h) * f + 5));
  // A spacing below 1 cannot be drawn (and would divide by zero).
  const int spacing_setting = std::max(o.lvHatchDepress, 1);
  const int spacing = overrides.spacing == -1 ? spacing_setting : std::max(overrides.spacing, 1);

  canvas.FillRect(rect, BackgroundFill(o));
  if (o.quick_start) {
    canvas.SelectSolidPen(f, kQuickStartGrid);
    const Pattern p{canvas, rect, band_offset, f, n, f, visible};
    DrawLineHatch(canvas, StraightLines(p, 10, 10, 0, true, true), visible);
    canvas.RestorePen();
    return;
  }
  if (o.lvBkGrHathStyle >= 99) return;

  const int width = overrides.pen_width == -1 ? o.lvHatchWidth : overrides.pen_width;
  const int angle = overrides.angle == -1 ? o.lvHatchAngle : overrides.angle;
  const int pen = std::max(width, 0) * f;
  canvas.SelectSolidPen(pen, o.lvHatchColor);
  const Pattern p{canvas, rect, band_offset, f, n, pen, visible};
  switch (o.lvBkGrHathStyle) {
    case 4:
      DrawLineHatch(canvas,
                    StraightLines(p, spacing, spacing_setting, angle, o.lvHatchLnVert, o.lvHatchLnHor),
                    visible);
      break;
    case 1: DrawWaves(p); break;
    case 0: DrawBraids(p); break;
    case 5: DrawTiltedSquares(p, spacing_setting); break;
    default: break;  // 2, 3 and anything else: the fill alone
  }
  canvas.RestorePen();
}

}  // namespace pw::render
