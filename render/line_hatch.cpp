#include "render/line_hatch.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pw::render {

namespace {

struct Point64 {
  std::int64_t x;
  std::int64_t y;
};

struct Normal {
  double x;
  double y;
};

constexpr double kQuarterTurn = 3.141592653589793 * 0.5;

Point64 Rotate(double x, double y, double cos_a, double sin_a, double scale) {
  return {static_cast<std::int64_t>(std::trunc((x * cos_a + y * sin_a) * scale)),
          static_cast<std::int64_t>(std::trunc((y * cos_a - x * sin_a) * scale))};
}

int ToDevice(std::int64_t v) {
  // Coordinates stay far inside int for every page a render accepts; this
  // only keeps a hostile caller from wrapping around.
  constexpr std::int64_t kLimit = std::int64_t{1} << 30;
  return static_cast<int>(std::clamp(v, -kLimit, kLimit));
}

class Hatcher {
 public:
  Hatcher(PatternCanvas& canvas, const LineHatch& h) : canvas_(canvas), h_(h) {
    cos_ = std::cos(h.angle_radians);
    sin_ = std::sin(h.angle_radians);
    cos_q_ = std::cos(kQuarterTurn);
    sin_q_ = std::sin(kQuarterTurn);
  }

  // The first family's end points of line k, multiplied by the factor.
  std::pair<Point64, Point64> First(std::int64_t k) const {
    const std::int64_t x = h_.rect.left - h_.centre_offset + k * h_.spacing;
    const std::int64_t y1 = h_.rect.top - h_.half_count;
    const std::int64_t y2 = h_.rect.bottom + h_.half_count;
    const std::int64_t f = h_.factor;
    if (h_.angle_zero) return {{x * f, y1 * f}, {x * f, y2 * f}};
    if (h_.exact_quarter_turn) return {{y1 * f, -x * f}, {y2 * f, -x * f}};
    return {Rotate(double(x), double(y1), cos_, sin_, double(f)),
            Rotate(double(x), double(y2), cos_, sin_, double(f))};
  }

  Point64 Turn(Point64 p) const {
    if (h_.angle_zero) return {p.y, -p.x};
    return Rotate(double(p.x), double(p.y), cos_q_, sin_q_, 1.0);
  }

  // Every point of the first family's line k satisfies p . n = x(k) x f,
  // up to the truncation of its coordinates.
  Normal FirstNormal() const {
    if (h_.angle_zero) return {1, 0};
    if (h_.exact_quarter_turn) return {0, -1};
    return {cos_, -sin_};
  }

  void Draw(const std::optional<VisibleArea>& visible) {
    std::int64_t lo = -h_.half_count;
    std::int64_t hi = h_.half_count;
    Range first{lo, hi}, second{lo, hi};
    if (visible) {
      const Normal n1 = FirstNormal();
      first = VisibleLines(n1, *visible);
      second = VisibleLines(Normal{n1.y, -n1.x}, *visible);
    }
    if (!h_.first_family) first = Range{1, 0};
    if (!h_.second_family) second = Range{1, 0};
    lo = std::max(lo, std::min(first.lo, second.lo));
    hi = std::min(hi, std::max(first.hi, second.hi));
    for (std::int64_t k = lo; k <= hi; ++k) {
      const auto [p1, p2] = First(k);
      if (first.Contains(k)) Line(p1, p2);
      if (second.Contains(k)) Line(Turn(p1), Turn(p2));
    }
  }

 private:
  struct Range {
    std::int64_t lo;
    std::int64_t hi;
    bool Contains(std::int64_t k) const { return k >= lo && k <= hi; }
  };

  // The k whose line can reach the visible area: project the area's corners
  // (in coordinates before the y offset) onto the family's normal.
  Range VisibleLines(Normal n, const VisibleArea& area) const {
    const double top = h_.y_offset;
    const double bottom = double(h_.y_offset) + area.height;
    const double xs[2] = {0.0, double(area.width)};
    const double ys[2] = {top, bottom};
    double low = std::numeric_limits<double>::max();
    double high = std::numeric_limits<double>::lowest();
    for (double x : xs)
      for (double y : ys) {
        low = std::min(low, x * n.x + y * n.y);
        high = std::max(high, x * n.x + y * n.y);
      }
    // Half the pen, and a few pixels for truncated coordinates and caps.
    const double margin = h_.pen_width * 0.5 + 4.0;
    // x(k) x f = (left - c + k d) f
    const double f = h_.factor;
    const double base = double(h_.rect.left - h_.centre_offset);
    const double d = double(h_.spacing);
    const double k_lo = std::ceil(((low - margin) / f - base) / d);
    const double k_hi = std::floor(((high + margin) / f - base) / d);
    const double limit = double(h_.half_count) + 1;
    return {static_cast<std::int64_t>(std::clamp(k_lo, -limit, limit)),
            static_cast<std::int64_t>(std::clamp(k_hi, -limit, limit))};
  }

  void Line(Point64 a, Point64 b) {
    canvas_.MoveTo({ToDevice(a.x), ToDevice(a.y - h_.y_offset)});
    canvas_.LineTo({ToDevice(b.x), ToDevice(b.y - h_.y_offset)});
  }

  PatternCanvas& canvas_;
  const LineHatch& h_;
  double cos_, sin_, cos_q_, sin_q_;
};

}  // namespace

std::int64_t CentreOffset(int width, std::int64_t spacing) {
  const double ratio = double(width) / double(spacing);
  return static_cast<std::int64_t>(std::trunc((std::ceil(ratio) - ratio) * double(spacing) * 0.5));
}

void DrawLineHatch(PatternCanvas& canvas, const LineHatch& hatch,
                   const std::optional<VisibleArea>& visible) {
  if (hatch.spacing < 1 || hatch.factor < 1) return;
  Hatcher(canvas, hatch).Draw(visible);
}

}  // namespace pw::render
