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

  QPoint bold_step;
  if (font.match().synthetic_bold) {
    QPointF along = linear.map(QPointF(1, 0));
    const double length = std::hypot(along.x(), along.y());
    if (length > 0) bold_step = QPoint(static_cast<int>(std::lround(along.x() / length)),
                                       static_cast<int>(std::lround(along.y() / length)));
  }

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
    const QPoint origin(RoundHalfUp(origins[i].x()), RoundHalfUp(origins[i].y()));
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

}  // namespace pw::gdi
