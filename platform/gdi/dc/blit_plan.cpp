#include "platform/gdi/dc/blit_plan.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace pw::gdi {
namespace {

struct AxisMap {
  int lo = 0;
  std::vector<SourceSpan> spans;
  std::vector<SourceLerp> lerps;  // Reduce::Interpolate only
};

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) {  // b > 0
  return a >= 0 ? (a + b - 1) / b : -((-a) / b);
}

// One axis of an axis-aligned blit: destination pixels d0, d0 ± 1, … (|dl|
// of them, in the direction of dl) from source pixels s0, s0 ± 1, … (|sl|).
// Destination pixel i of D takes, when enlarging, source pixel
// floor(((2i + 1)·S − 1) / 2D); when reducing, the source pixels j with
// floor(((2j + 1)·D − 1) / 2S) = i: the pixel-centre rule with ties to the
// lower pixel.
std::optional<AxisMap> MapAxis(std::int64_t d0, std::int64_t dl, std::int64_t s0, std::int64_t sl,
                               int bitmap_extent, int visible_lo, int visible_hi, Reduce reduce) {
  const std::int64_t D = std::abs(dl), S = std::abs(sl);
  if (D == 0 || S == 0 || D > kMaxBlitExtent || S > kMaxBlitExtent) return std::nullopt;
  if (std::abs(d0) > kMaxBlitExtent || std::abs(s0) > kMaxBlitExtent) return std::nullopt;
  const int dstep = dl < 0 ? -1 : 1, sstep = sl < 0 ? -1 : 1;
  const std::int64_t covered_lo = dl > 0 ? d0 : d0 - D + 1;
  const std::int64_t lo = std::max<std::int64_t>(covered_lo, visible_lo);
  const std::int64_t hi = std::min<std::int64_t>(covered_lo + D, visible_hi);
  if (lo >= hi) return std::nullopt;

  auto first_source = [&](std::int64_t i) {
    return std::max<std::int64_t>(0, CeilDiv(2 * S * i + 1 - D, 2 * D));
  };
  AxisMap map;
  map.lo = static_cast<int>(lo);
  map.spans.resize(static_cast<std::size_t>(hi - lo));
  if (reduce == Reduce::Interpolate) map.lerps.resize(map.spans.size());
  for (std::int64_t pos = lo; pos < hi; ++pos) {
    const std::int64_t i = (pos - d0) * dstep;
    std::int64_t j0, j1;
    if (S <= D) {
      j0 = j1 = ((2 * i + 1) * S - 1) / (2 * D);
    } else {
      j0 = first_source(i);
      j1 = first_source(i + 1) - 1;
    }
    if (reduce == Reduce::First || reduce == Reduce::Interpolate) j1 = j0;
    if (reduce == Reduce::Last) j0 = j1;
    if (reduce == Reduce::Interpolate) {
      // Destination pixel i samples the source at i·S/D, between two
      // neighbours, as GDI's DIB engine steps through the source; the last
      // pixel repeats at the edge.
      const std::int64_t num = i * S, den = D;
      std::int64_t k0 = num / den, weight = ((num % den) * 256 + den / 2) / den;
      if (weight >= 256) {
        ++k0;
        weight = 0;
      }
      const std::int64_t k1 = std::min(k0 + 1, S - 1);
      k0 = std::min(k0, S - 1);
      auto clamp = [&](std::int64_t k) {
        return static_cast<int>(std::clamp<std::int64_t>(s0 + k * sstep, 0, bitmap_extent - 1));
      };
      map.lerps[static_cast<std::size_t>(pos - lo)] = {clamp(k0), clamp(k1), static_cast<int>(weight)};
    }
    // Keep the part of the run that lies inside the bitmap.
    std::int64_t a = s0 + j0 * sstep, b = s0 + j1 * sstep;
    if (sstep < 0) std::swap(a, b);
    a = std::max<std::int64_t>(a, 0);
    b = std::min<std::int64_t>(b, bitmap_extent - 1);
    SourceSpan& span = map.spans[static_cast<std::size_t>(pos - lo)];
    if (a > b) continue;
    span.first = static_cast<int>(sstep > 0 ? a : b);
    span.count = static_cast<int>(b - a + 1);
    span.step = sstep;
  }
  return map;
}

bool Finite(QPointF p) {
  return std::isfinite(p.x()) && std::isfinite(p.y()) && std::abs(p.x()) < kMaxBlitExtent &&
         std::abs(p.y()) < kMaxBlitExtent;
}

}  // namespace

std::optional<BlitPlan> BlitPlan::Axis(QPoint origin, QPoint extent, BlitRect source, QSize bitmap,
                                       const QRect& visible, Reduce reduce_x, Reduce reduce_y) {
  if (visible.isEmpty()) return std::nullopt;
  auto columns = MapAxis(origin.x(), extent.x(), source.x, source.cx, bitmap.width(), visible.left(),
                         visible.right() + 1, reduce_x);
  auto rows = MapAxis(origin.y(), extent.y(), source.y, source.cy, bitmap.height(), visible.top(),
                      visible.bottom() + 1, reduce_y);
  if (!columns || !rows) return std::nullopt;
  BlitPlan plan;
  plan.bounds_ = QRect(columns->lo, rows->lo, static_cast<int>(columns->spans.size()),
                       static_cast<int>(rows->spans.size()));
  plan.columns_ = std::move(columns->spans);
  plan.rows_ = std::move(rows->spans);
  if (!columns->lerps.empty() && !rows->lerps.empty()) {
    plan.column_lerps_ = std::move(columns->lerps);
    plan.row_lerps_ = std::move(rows->lerps);
  }
  return plan;
}

std::optional<BlitPlan> BlitPlan::General(QPointF p0, QPointF p1, QPointF p2, BlitRect source,
                                          QSize bitmap, const QRect& visible) {
  if (!Finite(p0) || !Finite(p1) || !Finite(p2) || visible.isEmpty()) return std::nullopt;
  if (source.cx == 0 || source.cy == 0 || std::abs(std::int64_t{source.cx}) > kMaxBlitExtent ||
      std::abs(std::int64_t{source.cy}) > kMaxBlitExtent)
    return std::nullopt;
  const QPointF u = p1 - p0, v = p2 - p0;
  const QTransform from_unit(u.x(), u.y(), v.x(), v.y(), p0.x(), p0.y());
  bool invertible = false;
  const QTransform to_unit = from_unit.inverted(&invertible);
  if (!invertible) return std::nullopt;

  const std::array<QPointF, 4> corners = {p0, p1, p2, p1 + v};
  double left = corners[0].x(), right = left, top = corners[0].y(), bottom = top;
  for (const QPointF& c : corners) {
    left = std::min(left, c.x());
    right = std::max(right, c.x());
    top = std::min(top, c.y());
    bottom = std::max(bottom, c.y());
  }
  const QRect box(QPoint(static_cast<int>(std::floor(left)), static_cast<int>(std::floor(top))),
                  QPoint(static_cast<int>(std::ceil(right)), static_cast<int>(std::ceil(bottom))));
  BlitPlan plan;
  plan.bounds_ = box & visible;
  if (plan.bounds_.isEmpty()) return std::nullopt;
  plan.axis_ = false;
  plan.to_unit_ = to_unit;
  plan.source_ = source;
  plan.bitmap_ = bitmap;
  return plan;
}

bool BlitPlan::Lookup(int x, int y, SourceSpan& sx, SourceSpan& sy) const {
  if (axis_) {
    sx = columns_[static_cast<std::size_t>(x - bounds_.left())];
    sy = rows_[static_cast<std::size_t>(y - bounds_.top())];
    return sx.count > 0 && sy.count > 0;
  }
  const QPointF unit = to_unit_.map(QPointF(x + 0.5, y + 0.5));
  if (unit.x() < 0 || unit.x() >= 1 || unit.y() < 0 || unit.y() >= 1) return false;
  auto pick = [](double t, std::int32_t origin, std::int32_t extent, int limit, SourceSpan& span) {
    const std::int64_t length = std::abs(std::int64_t{extent});
    const std::int64_t j = std::min<std::int64_t>(static_cast<std::int64_t>(t * length), length - 1);
    const std::int64_t s = origin + (extent < 0 ? -j : j);
    if (s < 0 || s >= limit) return false;
    span = {static_cast<int>(s), 1, 1};
    return true;
  };
  return pick(unit.x(), source_.x, source_.cx, bitmap_.width(), sx) &&
         pick(unit.y(), source_.y, source_.cy, bitmap_.height(), sy);
}

}  // namespace pw::gdi
