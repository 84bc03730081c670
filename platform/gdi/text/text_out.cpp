#include "platform/gdi/text/text_out.h"

#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <deque>
#include <numbers>

#include "platform/gdi/text/glyph_run.h"
#include "platform/gdi/dc/rounding.h"
#include "platform/limits/limits.h"

namespace pw::gdi {
namespace {

constexpr std::uint32_t kAlignUpdateCp = static_cast<std::uint32_t>(TextAlign::UpdateCp);
constexpr std::uint32_t kAlignHorizontal = 6;  // TA_LEFT 0, TA_RIGHT 2, TA_CENTER 6
constexpr std::uint32_t kAlignVertical = 24;   // TA_TOP 0, TA_BOTTOM 8, TA_BASELINE 24
constexpr std::uint32_t kAlignRight = static_cast<std::uint32_t>(TextAlign::Right);
constexpr std::uint32_t kAlignCenter = static_cast<std::uint32_t>(TextAlign::Center);
constexpr std::uint32_t kAlignBottom = static_cast<std::uint32_t>(TextAlign::Bottom);
constexpr std::uint32_t kAlignBaseline = static_cast<std::uint32_t>(TextAlign::Baseline);
// Longest string drawn; the player refuses longer strings before this.
constexpr std::size_t kMaxGlyphs = static_cast<std::size_t>(limits::kTextChars.value);
constexpr std::uint8_t kNonAntialiasedQuality = 3;

QPointF Rounded(QPointF p) { return QPointF(RoundHalfUp(p.x()), RoundHalfUp(p.y())); }

QTransform Linear(const QTransform& t) { return QTransform(t.m11(), t.m12(), t.m21(), t.m22(), 0, 0); }

QTransform Rotation(double degrees) {
  QTransform r;
  r.rotate(-degrees);  // counter-clockwise on a y-down page
  return r;
}

// The scale of the logical y axis in device pixels: what a font height
// becomes on the device.
double YScale(const QTransform& t) { return std::hypot(t.m21(), t.m22()); }
double XScale(const QTransform& t) { return std::hypot(t.m11(), t.m12()); }

// How the logical advance vector (c, 0) and the glyph frame reach the
// device. Compatible mode keeps glyphs upright and unmirrored whatever the
// mapping, scaling them only; advanced mode applies the whole transform.
struct Frames {
  QTransform glyph;    // glyph frame (device pixels at ppem) -> device
  QTransform advance;  // logical advance vector -> device
  QTransform baseline; // device pixels along the realised font's baseline -> device
  double angle = 0;
  // Advanced mode: the world transform scales the realised outline further
  // (a stretch, or a height that is not a whole number of device pixels).
  bool scaled_outline = false;
};

Frames MakeFrames(const QTransform& device, const LogFont& font, GraphicsMode mode) {
  Frames f;
  const QTransform linear = Linear(device);
  const double escapement = font.escapement / 10.0;
  const double sy = YScale(linear);
  if (mode == GraphicsMode::Advanced && sy > 0) {
    // The em is realised at a whole number of pixels; the rest of the
    // scale stays in the outline transform. Glyphs turn by the font's
    // orientation, the baseline by its escapement.
    const double height = std::abs(static_cast<double>(font.height)) * sy;
    const double rounded = std::max(1, RoundHalfUp(height));
    const double rest = font.height != 0 ? height / rounded : 1.0;
    const double k = rest / sy;
    f.glyph = Rotation(font.orientation / 10.0) *
              QTransform(linear.m11() * k, linear.m12() * k, linear.m21() * k, linear.m22() * k, 0, 0);
    f.scaled_outline = std::abs(rest - 1.0) > 1e-3 || std::abs(XScale(linear) - sy) > 1e-3 * sy;
    f.advance = Rotation(escapement) * linear;
    f.baseline = Rotation(escapement) *
                 QTransform(linear.m11() * k, linear.m12() * k, linear.m21() * k, linear.m22() * k, 0, 0);
  } else {
    // Glyphs keep their own proportions under an anisotropic mapping (the
    // height picks the size), stand upright and are never mirrored; only
    // lfWidth, scaled by the x axis, stretches them. A mapping that flips
    // one axis turns the escapement the other way, so that a run keeps
    // its direction on the page; the baseline is turned in logical units,
    // mapped, and then unflipped axis by axis, so that text runs left to
    // right and up the page whichever way the axes point.
    const bool mirrored = linear.m11() * linear.m22() < 0;
    const double turned = mirrored ? -escapement : escapement;
    f.glyph = Rotation(turned);
    const QTransform unflip = QTransform::fromScale(linear.m11() < 0 ? -1 : 1, linear.m22() < 0 ? -1 : 1);
    f.advance = Rotation(turned) * linear * unflip;
    f.baseline = f.glyph;
  }
  const QPointF dir = f.advance.map(QPointF(1, 0));
  f.angle = -std::atan2(dir.y(), dir.x()) * 180.0 / std::numbers::pi;
  return f;
}

struct CachedFont {
  LogFont font;
  int height = 0;
  int width = 0;
  std::shared_ptr<const FontInstance> instance;
};

QRect DeviceRect(const DeviceContext& dc, const RectL& r) {
  const QPoint a = dc.ToDevice(QPoint(r.left, r.top));
  const QPoint b = dc.ToDevice(QPoint(r.right, r.bottom));
  return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
               QPoint(std::max(a.x(), b.x()) - 1, std::max(a.y(), b.y()) - 1));
}

// A band along the baseline from `start` over `advance`, between `top` and
// `bottom` (glyph-frame offsets, y down).
QPolygonF Band(const TextLayout& layout, const QTransform& glyph_frame, double top, double bottom) {
  const QPointF t = glyph_frame.map(QPointF(0, top));
  const QPointF b = glyph_frame.map(QPointF(0, bottom));
  const QPointF s = layout.start;
  return QPolygonF({s + t, s + layout.advance + t, s + layout.advance + b, s + b});
}

void FillBand(QPainter& p, const QPolygonF& band, QRgb color) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor::fromRgb(color));
  p.setRenderHint(QPainter::Antialiasing, false);
  const QRectF box = band.boundingRect();
  if (band.size() == 4 && band[0].y() == band[1].y() && band[0].x() == band[3].x()) {
    // Axis-aligned: whole pixels, right and bottom edges excluded.
    p.fillRect(QRect(QPoint(RoundHalfUp(box.left()), RoundHalfUp(box.top())),
                     QPoint(RoundHalfUp(box.right()) - 1, RoundHalfUp(box.bottom()) - 1)),
               QColor::fromRgb(color));
    return;
  }
  p.drawPolygon(band.translated(-0.5, -0.5));
}

}  // namespace

std::shared_ptr<const FontInstance> RealizeFont(const DeviceContext& dc, const LogFont& font, GraphicsMode mode) {
  const QTransform linear = Linear(dc.DeviceTransform());
  const double sy = YScale(linear);
  const double sx = mode == GraphicsMode::Advanced ? sy : XScale(linear);
  const double h = std::abs(static_cast<double>(font.height)) * sy;
  const double w = std::abs(static_cast<double>(font.width)) * sx;
  if (!std::isfinite(h) || !std::isfinite(w)) return nullptr;
  // A fractional device height is cut down to whole pixels, not rounded
  // (15 logical units at 1.2575 pixels each realise an 18-pixel em).
  const int height = (font.height < 0 ? -1 : 1) * static_cast<int>(std::min(std::floor(h + 1e-6), double{1 << 20}));
  const int width = static_cast<int>(std::min(RoundHalfUp(w), 1 << 20));

  thread_local std::deque<CachedFont> cache;
  constexpr std::size_t kMaxCached = 64;
  for (const auto& c : cache) {
    if (c.height == height && c.width == width && c.font == font) return c.instance;
  }
  auto instance = FontInstance::Create(font, font.height == 0 ? 0 : height, width);
  if (cache.size() >= kMaxCached) cache.pop_front();
  cache.push_back({font, height, width, instance});
  return instance;
}

std::optional<TextLayout> LayoutText(const DeviceContext& dc, const FontInstance& font, const TextRun& run) {
  const std::size_t n = std::min(run.text.size(), kMaxGlyphs);
  const bool pdy = HasOption(run.options, TextOption::Pdy);
  if (!run.dx.empty() && run.dx.size() < n * (pdy ? 2 : 1)) return std::nullopt;

  TextLayout out;
  const TextState text = dc.Text();
  const Frames frames = MakeFrames(dc.DeviceTransform(), font.logfont(), run.graphics_mode);
  out.angle = frames.angle;
  out.outline = GlyphOutlineTransform(font, frames.glyph);

  if (HasOption(run.options, TextOption::GlyphIndex)) {
    out.glyphs.assign(run.text.begin(), run.text.begin() + static_cast<std::ptrdiff_t>(n));
  } else {
    out.glyphs = font.GlyphsForText(std::u16string_view(run.text).substr(0, n));
  }

  // Pen positions relative to the reference point, before alignment.
  std::vector<QPointF> pen(n + 1);
  if (!run.dx.empty()) {
    QPointF logical;
    for (std::size_t i = 0; i < n; ++i) {
      pen[i] = Rounded(frames.advance.map(logical));
      const double dx = static_cast<double>(run.dx[pdy ? 2 * i : i]) + text.char_extra;
      // Vertical advances count upwards: a positive one raises the glyphs after it.
      const double dy = pdy ? -static_cast<double>(run.dx[2 * i + 1]) : 0.0;
      logical += QPointF(dx, dy);
    }
    pen[n] = Rounded(frames.advance.map(logical));
  } else {
    std::vector<int> advances = font.Advances(out.glyphs);
    // Character extra and justification are logical widths.
    const QPointF unit = frames.advance.map(QPointF(1, 0));
    const double unit_length = std::hypot(unit.x(), unit.y());
    const double extra = text.char_extra * unit_length;
    int breaks = 0;
    const bool justify = text.break_count > 0 && text.break_extra != 0 &&
                         !HasOption(run.options, TextOption::GlyphIndex);
    if (justify) breaks = static_cast<int>(std::count(run.text.begin(), run.text.begin() + static_cast<std::ptrdiff_t>(n), u' '));
    // The font's advances are device pixels along the baseline. In advanced
    // mode they run along the glyph frame; in compatible mode GDI measures
    // the string in whole logical units (the extents GetTextExtentExPoint
    // reports) and maps those, so the mapped x axis carries them and their
    // rounding shows at fractional scales.
    const bool logical = run.graphics_mode != GraphicsMode::Advanced && unit_length > 0;
    auto place = [&](double position) {
      if (!logical) return Rounded(frames.baseline.map(QPointF(position, 0)));
      return Rounded(frames.advance.map(QPointF(RoundHalfUp(position / unit_length), 0)));
    };
    double position = 0;
    int break_index = 0;
    for (std::size_t i = 0; i < n; ++i) {
      pen[i] = place(position);
      position += advances[i] + extra;
      if (justify && breaks > 0 && run.text[i] == u' ') {
        // The extra space is shared out over the breaks, the remainder to the first.
        const int share = text.break_extra / text.break_count;
        const int rest = text.break_extra % text.break_count;
        position += (share + (break_index < rest ? 1 : 0)) * unit_length;
        ++break_index;
      }
    }
    pen[n] = place(position);
  }

  const bool update_cp = (text.align & kAlignUpdateCp) != 0;
  const QPoint reference_logical = update_cp ? dc.CurrentPosition() : run.reference;
  const QPointF reference = dc.ToDevice(reference_logical);
  const QPointF width = pen[n];

  QPointF offset;
  switch (text.align & kAlignHorizontal) {
    case kAlignCenter: offset -= QPointF(std::trunc(width.x() / 2), std::trunc(width.y() / 2)); break;
    case kAlignRight: offset -= width; break;
    default: break;
  }
  const auto& m = font.metrics();
  // Compatible mode measures the cell in logical units (the text metrics
  // an application reads) and maps that height back from the logical
  // origin, so a scaled page rounds the ascent and descent twice.
  const QTransform& device = dc.DeviceTransform();
  const double sy = YScale(Linear(device));
  const auto cell_part = [&](int device_pixels) -> double {
    if (run.graphics_mode == GraphicsMode::Advanced || sy <= 0) return device_pixels;
    const int logical = RoundHalfUp(device_pixels / sy);
    return std::abs(RoundHalfUp(device.dy() + logical * device.m22()) - RoundHalfUp(device.dy()));
  };
  switch (text.align & kAlignVertical) {
    case kAlignBaseline: break;
    case kAlignBottom: offset += Rounded(frames.glyph.map(QPointF(0, -cell_part(m.descent)))); break;
    default: offset += Rounded(frames.glyph.map(QPointF(0, cell_part(m.ascent)))); break;  // TA_TOP
  }
  out.start = reference + offset;
  out.advance = width;
  out.origins.resize(n);
  for (std::size_t i = 0; i < n; ++i) out.origins[i] = out.start + pen[i];
  const QPointF up = frames.glyph.map(QPointF(0, -1));
  const double up_length = std::hypot(up.x(), up.y());
  out.up = up_length > 0 ? up / up_length : QPointF(0, -1);

  if (update_cp) {
    QPointF next = reference;
    switch (text.align & kAlignHorizontal) {
      case kAlignCenter: break;
      case kAlignRight: next -= width; break;
      default: next += width; break;
    }
    bool invertible = false;
    const QTransform inverse = dc.DeviceTransform().inverted(&invertible);
    if (invertible) {
      const QPointF logical = inverse.map(next);
      out.next_position = QPoint(RoundHalfUp(logical.x()), RoundHalfUp(logical.y()));
    }
  }
  return out;
}

bool ExtTextOut(DeviceContext& dc, const TextRun& run, bool* font_replaced) {
  const TextState text = dc.Text();
  auto font = RealizeFont(dc, text.font.logfont, run.graphics_mode);
  if (font_replaced) *font_replaced = font && !font->match().face_found;
  if (!font) return false;
  auto layout = LayoutText(dc, *font, run);
  if (!layout) return false;

  const Frames frames = MakeFrames(dc.DeviceTransform(), font->logfont(), run.graphics_mode);
  GlyphStyle style;
  style.color = ToQRgb(text.text_color);
  style.outline = layout->outline;
  style.smooth = font->antialiased();
  if (frames.scaled_outline) {
    // Outlines scaled after realisation are drawn smoothed and unhinted,
    // whatever the gasp table says for the realised size.
    style.smooth = font->logfont().quality != kNonAntialiasedQuality;
    style.hinted = false;
  }
  if (dc.PathOpen()) {
    // Text in a path adds its glyph outlines and draws nothing.
    dc.AddToOpenPath(GlyphRunOutline(*font, layout->glyphs, layout->origins, style));
    if (layout->next_position) dc.MoveTo(*layout->next_position);
    return true;
  }

  const auto& m = font->metrics();
  const std::optional<QRect> rect = run.rect ? std::optional(DeviceRect(dc, *run.rect)) : std::nullopt;
  const bool opaque_rect = rect && HasOption(run.options, TextOption::Opaque);
  const bool clipped = rect && HasOption(run.options, TextOption::Clipped);
  const QRgb text_color = style.color;
  const QRgb bk_color = ToQRgb(text.bk_color);

  dc.Draw([&](QPainter& p) {
    p.resetTransform();
    if (opaque_rect && !rect->isEmpty()) p.fillRect(*rect, QColor::fromRgb(bk_color));
    if (clipped) p.setClipRect(*rect, p.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    if (layout->glyphs.empty()) return;
    if (text.bk_mode == BkMode::Opaque) {
      const QPolygonF box = Band(*layout, frames.glyph, -m.ascent, m.descent);
      if (!opaque_rect || !rect->contains(box.boundingRect().toAlignedRect())) FillBand(p, box, bk_color);
    }
    DrawGlyphs(p, *font, layout->glyphs, layout->origins, style);
    const auto& lf = font->logfont();
    if (lf.underline) {
      const double top = m.underline_position - m.underline_thickness / 2;
      FillBand(p, Band(*layout, frames.glyph, top, top + m.underline_thickness), text_color);
    }
    if (lf.strike_out) {
      const double top = -m.strikeout_position;
      FillBand(p, Band(*layout, frames.glyph, top, top + m.strikeout_thickness), text_color);
    }
  });
  if (layout->next_position) dc.MoveTo(*layout->next_position);
  return true;
}

}  // namespace pw::gdi
