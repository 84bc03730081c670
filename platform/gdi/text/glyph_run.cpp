#include "platform/gdi/text/glyph_run.h"

#include <QPaintDevice>

#include <cmath>

#include "platform/gdi/text/glyph_raster.h"
#include "platform/gdi/dc/rounding.h"

namespace pw::gdi {
namespace {

// The slant of a synthesised italic (FreeType's oblique: about 12 degrees).
constexpr double kObliqueShear = 0.2126;

QTransform Linear(const QTransform& t) {
  return QTransform(t.m11(), t.m12(), t.m21(), t.m22(), 0, 0);
}

// Synthetic bold: the glyph again one pixel on along the baseline.
QPoint BoldStep(const FontInstance& font, const QTransform& linear) {
  if (!font.match().synthetic_bold) return {};
  const QPointF along = linear.map(QPointF(1, 0));
  const double length = std::hypot(along.x(), along.y());
  if (length <= 0) return {};
  return QPoint(static_cast<int>(std::lround(along.x() / length)), static_cast<int>(std::lround(along.y() / length)));
}

QPoint GlyphOrigin(QPointF origin) { return QPoint(RoundHalfUp(origin.x()), RoundHalfUp(origin.y())); }

}  // namespace

QTransform GlyphOutlineTransform(const FontInstance& font, const QTransform& frame) {
  QTransform t;
  if (font.match().synthetic_italic) t = QTransform(1, 0, -kObliqueShear, 1, 0, 0);
  if (font.width_scale() != 1.0) t *= QTransform::fromScale(font.width_scale(), 1.0);
  return t * Linear(frame);
}

void DrawGlyphs(QPainter& painter, const FontInstance& font, std::span<const quint32> glyphs,
                std::span<const QPointF> origins, const GlyphStyle& style) {
  if (glyphs.empty() || glyphs.size() != origins.size()) return;
  const QTransform linear = Linear(style.outline);
  GlyphRasterKey key{&font.file(), font.ppem(), linear, style.smooth, style.hinted};

  const QPoint bold_step = BoldStep(font, linear);

  // A band of a page sees a slice of its text: glyphs wholly outside the
  // device are not blended at all.
  const QPaintDevice* device = painter.device();
  const QRect visible = device ? QRect(0, 0, device->width(), device->height()) : QRect();

  painter.save();
  painter.resetTransform();
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  const auto draw = [&](const QImage& tinted, QPoint at) {
    painter.drawImage(at, tinted);
    if (!bold_step.isNull()) painter.drawImage(at + bold_step, tinted);
  };
  for (std::size_t i = 0; i < glyphs.size(); ++i) {
    const GlyphImage& glyph = RasterizeGlyph(key, glyphs[i]);
    if (glyph.size.isEmpty()) continue;
    const QPoint origin = GlyphOrigin(origins[i]);
    const QRect box(origin + glyph.offset, glyph.size);
    if (device && !box.united(box.translated(bold_step)).intersects(visible)) continue;
    if (!glyph.Outlined()) {
      draw(glyph.Tinted(style.color), box.topLeft());
      continue;
    }
    // Only the part the device shows of the glyph and of its bold copy.
    const QRect shown = device ? box.intersected(visible.united(visible.translated(-bold_step))) : box;
    const GlyphImage part = RasterizeGlyphPart(key, glyphs[i], shown.translated(-box.topLeft()));
    if (!part.coverage.isNull()) draw(part.Tinted(style.color), shown.topLeft());
  }
  painter.restore();
}

QPainterPath GlyphRunOutline(const FontInstance& font, std::span<const quint32> glyphs,
                             std::span<const QPointF> origins, const GlyphStyle& style) {
  QPainterPath out;
  if (glyphs.size() != origins.size()) return out;
  const QTransform linear = Linear(style.outline);
  const GlyphRasterKey key{&font.file(), font.ppem(), linear, style.smooth, style.hinted};
  const QPoint bold_step = BoldStep(font, linear);
  for (std::size_t i = 0; i < glyphs.size(); ++i) {
    const QPainterPath glyph = GlyphOutline(key, glyphs[i]);
    if (glyph.isEmpty()) continue;
    const QPoint origin = GlyphOrigin(origins[i]);
    out.addPath(glyph.translated(origin));
    if (!bold_step.isNull()) out.addPath(glyph.translated(origin + bold_step));
  }
  return out;
}

}  // namespace pw::gdi
