#include "platform/gdi/dc/blit.h"

#include <QPainterPath>
#include <QPolygonF>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/gdi/dc/device_context.h"
#include "platform/gdi/dc/raster_op.h"
#include "platform/gdi/dc/surface.h"

namespace pw::gdi {
namespace {

constexpr QRgb kOpaque = 0xFF000000u;

enum class Merge { None, And, Or };

struct Reduction {
  Reduce x = Reduce::First;
  Reduce y = Reduce::First;
  Merge merge = Merge::None;
};

// How GDI's DIB engine reduces under each stretch-blt mode: BLACKONWHITE and
// WHITEONBLACK merge the eliminated pixels by AND and OR; COLORONCOLOR keeps
// the last pixel of a reduced column run and the first row of a row run;
// HALFTONE interpolates between the source pixels around each pixel centre.
Reduction ReductionFor(StretchBltMode mode) {
  switch (mode) {
    case StretchBltMode::BlackOnWhite: return {Reduce::All, Reduce::All, Merge::And};
    case StretchBltMode::WhiteOnBlack: return {Reduce::All, Reduce::All, Merge::Or};
    case StretchBltMode::Halftone: return {Reduce::Interpolate, Reduce::Interpolate, Merge::None};
    case StretchBltMode::ColorOnColor: break;
  }
  return {Reduce::Last, Reduce::First, Merge::None};
}

bool ExtentsUsable(BlitRect r) {
  auto ok = [](std::int64_t origin, std::int64_t extent) {
    return std::abs(origin) <= kMaxBlitExtent && std::abs(extent) <= kMaxBlitExtent;
  };
  return ok(r.x, r.cx) && ok(r.y, r.cy);
}

// The source rectangle through the source DC's world transform, corners rounded.
std::optional<BlitRect> MapSourceRect(BlitRect src, const QTransform& transform) {
  if (!ExtentsUsable(src)) return std::nullopt;
  if (transform.isIdentity()) return src;
  const QPointF a = transform.map(QPointF(src.x, src.y));
  const QPointF b = transform.map(QPointF(double(src.x) + src.cx, double(src.y) + src.cy));
  for (double v : {a.x(), a.y(), b.x(), b.y()})
    if (!std::isfinite(v) || std::abs(v) > kMaxBlitExtent) return std::nullopt;
  const auto x0 = static_cast<std::int32_t>(std::lround(a.x()));
  const auto y0 = static_cast<std::int32_t>(std::lround(a.y()));
  return BlitRect{x0, y0, static_cast<std::int32_t>(std::lround(b.x())) - x0,
                  static_cast<std::int32_t>(std::lround(b.y())) - y0};
}

// The device pixels drawing can reach: the surface, within the clip.
QRect VisibleRect(DeviceContext& dc) {
  QRect visible = dc.Image().rect();
  if (const auto clip = dc.DeviceClip()) visible &= clip->boundingRect();
  return visible;
}

std::optional<BlitPlan> PlanOnto(DeviceContext& dc, BlitRect dest, BlitRect src, QSize bitmap,
                                 Reduction reduction) {
  if (!ExtentsUsable(dest)) return std::nullopt;
  const QRect visible = VisibleRect(dc);
  if (dc.IsAxisAligned()) {
    const QPoint a = dc.ToDevice(QPoint(dest.x, dest.y));
    const QPoint b = dc.ToDevice(QPoint(dest.x + dest.cx, dest.y + dest.cy));
    return BlitPlan::Axis(a, b - a, src, bitmap, visible, reduction.x, reduction.y);
  }
  const QTransform& t = dc.DeviceTransform();
  return BlitPlan::General(t.map(QPointF(dest.x, dest.y)), t.map(QPointF(dest.x + dest.cx, dest.y)),
                           t.map(QPointF(dest.x, dest.y + dest.cy)), src, bitmap, visible);
}

// Calls op(pixel, x, y, sx, sy) for every drawable device pixel of the plan.
template <typename Op>
void ForEachPixel(DeviceContext& dc, const BlitPlan& plan, Op&& op) {
  QImage& image = dc.Image();
  QRegion area(plan.Bounds() & image.rect());
  if (const auto clip = dc.DeviceClip()) area &= *clip;
  SourceSpan sx, sy;
  for (const QRect& r : area) {
    for (int y = r.top(); y <= r.bottom(); ++y) {
      auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = r.left(); x <= r.right(); ++x)
        if (plan.Lookup(x, y, sx, sy)) op(row[x], x, y, sx, sy);
    }
  }
}

// Reads the source pixels a destination pixel takes, merged as the stretch
// mode says.
class Sampler {
 public:
  Sampler(const BlitSource& source, Merge merge) : source_(source), merge_(merge) {}

  QRgb At(int x, int y) const {
    return reinterpret_cast<const QRgb*>(source_.image.constScanLine(y))[x];
  }
  // RLE pixels the data skipped leave the destination as it is.
  bool IsHole(const SourceSpan& sx, const SourceSpan& sy) const {
    return source_.alpha == DibAlpha::Holes && qAlpha(At(sx.first, sy.first)) == 0;
  }
  // Bilinear: along each row first, then between the rows, rounding each step.
  QRgb Interpolate(const SourceLerp& lx, const SourceLerp& ly) const {
    auto mix = [](QRgb a, QRgb b, int w) {
      auto channel = [w](int ca, int cb) { return (ca * (256 - w) + cb * w + 128) >> 8; };
      return qRgb(channel(qRed(a), qRed(b)), channel(qGreen(a), qGreen(b)), channel(qBlue(a), qBlue(b)));
    };
    const QRgb top = mix(At(lx.first, ly.first), At(lx.second, ly.first), lx.weight);
    const QRgb bottom = mix(At(lx.first, ly.second), At(lx.second, ly.second), lx.weight);
    return mix(top, bottom, ly.weight);
  }
  QRgb Read(const SourceSpan& sx, const SourceSpan& sy) const {
    if (merge_ == Merge::None || (sx.count == 1 && sy.count == 1)) return At(sx.first, sy.first);
    QRgb merged = merge_ == Merge::And ? ~0u : 0u;
    for (int j = 0; j < sy.count; ++j)
      for (int i = 0; i < sx.count; ++i) {
        const QRgb p = At(sx.first + i * sx.step, sy.first + j * sy.step);
        merged = merge_ == Merge::And ? (merged & p) : (merged | p);
      }
    return merged;
  }

 private:
  const BlitSource& source_;
  Merge merge_;
};

// The DC's brush under a blit, one pixel per device pixel of `bounds`,
// drawn by the DC's own brush code so hatches and patterns match fills.
class Pattern {
 public:
  static Pattern Make(DeviceContext& dc, const QRect& bounds) {
    const DcState& state = dc.State();
    Pattern pattern;
    if (state.brush.style == BrushStyle::Solid) {
      pattern.solid_ = ToQRgb(state.brush.color);
      return pattern;
    }
    if (state.brush.IsNull() || bounds.isEmpty()) return pattern;  // draws as black
    auto surface = Surface::Create(bounds.width(), bounds.height());
    if (!surface) return pattern;
    {
      DeviceContext scratch(*surface);
      scratch.SetTextColor(state.text_color);
      scratch.SetBkColor(state.bk_color);
      scratch.SetBkMode(state.bk_mode);
      scratch.SetBrushOrigin(state.brush_origin - bounds.topLeft());
      scratch.SelectBrush(state.brush);
      QPainterPath all;
      all.addRect(QRectF(0, 0, bounds.width(), bounds.height()));
      scratch.FillDevicePath(all, state.brush);
    }
    pattern.tile_ = surface->image();
    pattern.origin_ = bounds.topLeft();
    return pattern;
  }

  QRgb At(int x, int y) const {
    if (tile_.isNull()) return solid_;
    return reinterpret_cast<const QRgb*>(tile_.constScanLine(y - origin_.y()))[x - origin_.x()];
  }

 private:
  QRgb solid_ = 0;
  QImage tile_;
  QPoint origin_;
};

// A mask pixel is set when its colour is nearer white than black, as GDI
// reads a colour bitmap into a monochrome one.
bool MaskBit(const QImage& mask, int x, int y) {
  if (x < 0 || y < 0 || x >= mask.width() || y >= mask.height()) return true;
  const QRgb p = reinterpret_cast<const QRgb*>(mask.constScanLine(y))[x];
  return qRed(p) + qGreen(p) + qBlue(p) >= 383;
}

// GDI's integer blend of one channel.
int BlendChannel(int src, int dst, int alpha) { return (src * alpha + dst * (255 - alpha) + 127) / 255; }

// Premultiplied source over destination; channels saturate, so a source
// whose colour exceeds its alpha cannot carry into the next channel.
QRgb BlendPremultiplied(QRgb dst, QRgb src, int constant_alpha) {
  int r = qRed(src), g = qGreen(src), b = qBlue(src), a = qAlpha(src);
  if (constant_alpha != 255) {
    r = (r * constant_alpha + 127) / 255;
    g = (g * constant_alpha + 127) / 255;
    b = (b * constant_alpha + 127) / 255;
    a = (a * constant_alpha + 127) / 255;
  }
  auto over = [a](int s, int d) { return std::min(255, s + (d * (255 - a) + 127) / 255); };
  return qRgb(over(r, qRed(dst)), over(g, qGreen(dst)), over(b, qBlue(dst)));
}

std::optional<BlitRect> CheckedPositive(BlitRect r) {
  if (r.cx <= 0 || r.cy <= 0) return std::nullopt;
  return r;
}

}  // namespace

bool PatBlt(DeviceContext& dc, BlitRect dest, std::uint32_t rop) {
  const int rop2 = RopAsRop2(RopIndex(rop));
  if (rop2 == 0 || !ExtentsUsable(dest)) return false;
  const bool uses_pen = (((rop2 - 1) >> 2) & 3) != ((rop2 - 1) & 3);
  Brush brush = dc.State().brush;
  if (uses_pen && brush.IsNull()) return true;  // a null brush paints nothing
  if (!uses_pen) brush = Brush{};               // any brush: only the operation counts

  QPainterPath area;
  if (dc.IsAxisAligned()) {
    const QPoint a = dc.ToDevice(QPoint(dest.x, dest.y));
    const QPoint b = dc.ToDevice(QPoint(dest.x + dest.cx, dest.y + dest.cy));
    // A negative extent covers b + 1 … a, as GDI's bounding rectangles do.
    auto span = [](int from, int to) { return to < from ? std::pair(to + 1, from + 1) : std::pair(from, to); };
    const auto [x0, x1] = span(a.x(), b.x());
    const auto [y0, y1] = span(a.y(), b.y());
    if (x1 <= x0 || y1 <= y0) return true;
    area.addRect(QRectF(x0, y0, x1 - x0, y1 - y0));
  } else {
    const QTransform& t = dc.DeviceTransform();
    const QRectF logical(dest.x, dest.y, dest.cx, dest.cy);
    area.addPolygon(t.map(QPolygonF(logical)));
    area.closeSubpath();
  }
  const Rop2 old = dc.State().rop2;
  dc.SetRop2(static_cast<Rop2>(rop2));
  dc.FillDevicePath(area, brush);
  dc.SetRop2(old);
  return true;
}

bool StretchBlt(DeviceContext& dc, BlitRect dest, const BlitSource& source, BlitRect src,
                std::uint32_t rop, const QTransform& source_transform) {
  const std::uint8_t index = RopIndex(rop);
  if (!RopUsesSource(index)) return PatBlt(dc, dest, rop);
  if (source.image.isNull()) return false;
  const auto mapped = MapSourceRect(src, source_transform);
  if (!mapped) return false;
  const Reduction reduction = ReductionFor(dc.State().stretch_mode);
  const auto plan = PlanOnto(dc, dest, *mapped, source.image.size(), reduction);
  if (!plan) return false;

  const Sampler sampler(source, reduction.merge);
  const bool interpolate = plan->Interpolates() && source.alpha != DibAlpha::Holes;
  auto read = [&](int x, int y, const SourceSpan& sx, const SourceSpan& sy) {
    if (!interpolate) return sampler.Read(sx, sy);
    SourceLerp lx, ly;
    plan->Interpolation(x, y, lx, ly);
    return sampler.Interpolate(lx, ly);
  };
  if (index == RopIndex(Rop3::SrcCopy)) {
    ForEachPixel(dc, *plan, [&](QRgb& d, int x, int y, const SourceSpan& sx, const SourceSpan& sy) {
      if (!sampler.IsHole(sx, sy)) d = read(x, y, sx, sy) | kOpaque;
    });
    return true;
  }
  const Pattern pattern = RopUsesPattern(index) ? Pattern::Make(dc, plan->Bounds()) : Pattern{};
  ForEachPixel(dc, *plan, [&](QRgb& d, int x, int y, const SourceSpan& sx, const SourceSpan& sy) {
    if (sampler.IsHole(sx, sy)) return;
    d = ApplyRop3(index, pattern.At(x, y), read(x, y, sx, sy), d) | kOpaque;
  });
  return true;
}

bool StretchDIBits(DeviceContext& dc, BlitRect dest, const BlitSource& source, BlitRect src,
                   bool bottom_up, std::uint32_t rop) {
  if (!ExtentsUsable(src)) return false;
  if (bottom_up) src.y = source.image.height() - src.y - src.cy;
  return StretchBlt(dc, dest, source, src, rop);
}

bool SetDIBitsToDevice(DeviceContext& dc, QPoint dest, const BlitSource& source, BlitRect src,
                       std::uint32_t start_scan, std::uint32_t scan_lines, bool bottom_up) {
  if (source.image.isNull() || src.cx <= 0 || src.cy <= 0 || !ExtentsUsable(src)) return false;
  if (start_scan > kMaxBlitExtent || scan_lines > kMaxBlitExtent) return false;
  // Source rows top-down within the scan lines the bits hold.
  const std::int64_t lines = std::min<std::int64_t>(scan_lines, source.image.height());
  src.y = bottom_up ? static_cast<std::int32_t>(start_scan + lines - (std::int64_t{src.y} + src.cy))
                    : static_cast<std::int32_t>(std::int64_t{src.y} - start_scan);
  const auto plan = BlitPlan::Axis(dc.ToDevice(dest), QPoint(src.cx, src.cy), src, source.image.size(),
                                   VisibleRect(dc), Reduce::First, Reduce::First);
  if (!plan) return false;
  const Sampler sampler(source, Merge::None);
  ForEachPixel(dc, *plan, [&](QRgb& d, int, int, const SourceSpan& sx, const SourceSpan& sy) {
    if (!sampler.IsHole(sx, sy)) d = sampler.At(sx.first, sy.first) | kOpaque;
  });
  return true;
}

bool MaskBlt(DeviceContext& dc, BlitRect dest, const BlitSource* source, QPoint src,
             const QImage* mask, QPoint mask_origin, std::uint32_t rop4,
             const QTransform& source_transform) {
  const std::uint8_t fore = RopIndex(rop4), back = static_cast<std::uint8_t>(rop4 >> 24);
  const BlitRect src_rect{src.x(), src.y(), dest.cx, dest.cy};
  if (!mask || mask->isNull()) {
    if (!RopUsesSource(fore)) return PatBlt(dc, dest, rop4 & 0x00FFFFFF);
    return source && StretchBlt(dc, dest, *source, src_rect, rop4 & 0x00FFFFFF, source_transform);
  }
  const bool needs_source = RopUsesSource(fore) || RopUsesSource(back);
  if (needs_source && (!source || source->image.isNull())) return false;
  const auto mapped = MapSourceRect(src_rect, source_transform);
  if (!mapped) return false;
  // Without a source the mask is the bitmap that bounds the blit.
  const QSize bitmap = source && !source->image.isNull() ? source->image.size()
                                                          : QSize(kMaxBlitExtent, kMaxBlitExtent);
  const Reduction reduction = ReductionFor(dc.State().stretch_mode);
  const auto plan = PlanOnto(dc, dest, *mapped, bitmap, reduction);
  if (!plan) return false;

  const BlitSource none;
  const Sampler sampler(source ? *source : none, reduction.merge);
  const bool uses_pattern = RopUsesPattern(fore) || RopUsesPattern(back);
  const Pattern pattern = uses_pattern ? Pattern::Make(dc, plan->Bounds()) : Pattern{};
  ForEachPixel(dc, *plan, [&](QRgb& d, int x, int y, const SourceSpan& sx, const SourceSpan& sy) {
    const bool bit = MaskBit(*mask, mask_origin.x() + (sx.first - mapped->x),
                             mask_origin.y() + (sy.first - mapped->y));
    const std::uint8_t index = bit ? fore : back;
    QRgb s = 0;
    if (RopUsesSource(index)) {
      if (sampler.IsHole(sx, sy)) return;
      s = sampler.Read(sx, sy);
    }
    d = ApplyRop3(index, pattern.At(x, y), s, d) | kOpaque;
  });
  return true;
}

bool PlgBlt(DeviceContext& dc, const std::array<QPoint, 3>& dest, const BlitSource& source,
            BlitRect src, const QImage* mask, QPoint mask_origin, const QTransform& source_transform) {
  if (source.image.isNull()) return false;
  const auto mapped = MapSourceRect(src, source_transform);
  if (!mapped) return false;
  const QTransform& t = dc.DeviceTransform();
  const auto plan = BlitPlan::General(t.map(QPointF(dest[0])), t.map(QPointF(dest[1])),
                                      t.map(QPointF(dest[2])), *mapped, source.image.size(),
                                      VisibleRect(dc));
  if (!plan) return false;
  const Sampler sampler(source, Merge::None);
  ForEachPixel(dc, *plan, [&](QRgb& d, int, int, const SourceSpan& sx, const SourceSpan& sy) {
    if (mask && !mask->isNull() &&
        !MaskBit(*mask, mask_origin.x() + (sx.first - mapped->x), mask_origin.y() + (sy.first - mapped->y)))
      return;
    if (!sampler.IsHole(sx, sy)) d = sampler.At(sx.first, sy.first) | kOpaque;
  });
  return true;
}

bool AlphaBlend(DeviceContext& dc, BlitRect dest, const BlitSource& source, BlitRect src,
                BlendFunction blend, const QTransform& source_transform) {
  if (blend.op != 0 || source.image.isNull()) return false;
  if (blend.SourceAlpha() && source.alpha != DibAlpha::Channel) return false;  // needs 32-bit ARGB
  const auto mapped = MapSourceRect(src, source_transform);
  if (!mapped || !CheckedPositive(*mapped) || !CheckedPositive(dest)) return false;
  if (mapped->x < 0 || mapped->y < 0 || mapped->x + mapped->cx > source.image.width() ||
      mapped->y + mapped->cy > source.image.height())
    return false;  // the whole source rectangle must lie in the bitmap
  const auto plan = PlanOnto(dc, dest, *mapped, source.image.size(), ReductionFor(StretchBltMode::ColorOnColor));
  if (!plan) return false;
  const Sampler sampler(source, Merge::None);
  const int constant = blend.constant_alpha;
  ForEachPixel(dc, *plan, [&](QRgb& d, int, int, const SourceSpan& sx, const SourceSpan& sy) {
    const QRgb s = sampler.At(sx.first, sy.first);
    if (blend.SourceAlpha()) {
      d = BlendPremultiplied(d, s, constant);
    } else {
      d = qRgb(BlendChannel(qRed(s), qRed(d), constant), BlendChannel(qGreen(s), qGreen(d), constant),
               BlendChannel(qBlue(s), qBlue(d), constant));
    }
  });
  return true;
}

bool TransparentBlt(DeviceContext& dc, BlitRect dest, const BlitSource& source, BlitRect src,
                    ColorRef transparent, const QTransform& source_transform) {
  if (source.image.isNull()) return false;
  const auto mapped = MapSourceRect(src, source_transform);
  if (!mapped || !CheckedPositive(*mapped) || !CheckedPositive(dest)) return false;
  const auto plan = PlanOnto(dc, dest, *mapped, source.image.size(), ReductionFor(StretchBltMode::ColorOnColor));
  if (!plan) return false;
  const QRgb key = ToQRgb(transparent) & 0x00FFFFFF;
  const Sampler sampler(source, Merge::None);
  ForEachPixel(dc, *plan, [&](QRgb& d, int, int, const SourceSpan& sx, const SourceSpan& sy) {
    if (sampler.IsHole(sx, sy)) return;
    const QRgb s = sampler.At(sx.first, sy.first);
    if ((s & 0x00FFFFFF) != key) d = s | kOpaque;
  });
  return true;
}

}  // namespace pw::gdi
