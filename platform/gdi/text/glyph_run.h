#pragma once
// Drawing positioned glyphs: every glyph's baseline origin is given in
// device pixels, so the positions a metafile records are the positions
// drawn, whatever the font's own advances say.
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRgb>
#include <QTransform>

#include <span>

#include "platform/gdi/text/font_instance.h"

namespace pw::gdi {

struct GlyphStyle {
  QRgb color = qRgb(0, 0, 0);
  // The linear part that maps each glyph's outline (at the font's ppem) to
  // device pixels: width stretch, rotation, mirroring. Translation ignored.
  QTransform outline;
  bool smooth = true;  // grayscale glyphs; false: bilevel
  bool hinted = true;
};

// The outline transform for a realised font: synthetic italic slant and
// lfWidth stretch in the glyph's own frame, then `frame`, the linear map of
// that frame to device pixels (baseline rotation, anisotropic stretch, or
// the world transform for advanced-mode text).
QTransform GlyphOutlineTransform(const FontInstance& font, const QTransform& frame);

// Draws `glyphs` at `origins` (device pixels, baseline origin of each glyph,
// rounded to whole pixels as GDI places glyphs) on a painter whose own
// transform is ignored (its clip is kept). Synthetic bold is an overstrike
// one pixel along the baseline.
void DrawGlyphs(QPainter& painter, const FontInstance& font, std::span<const quint32> glyphs,
                std::span<const QPointF> origins, const GlyphStyle& style);

// The outlines of `glyphs` at `origins` (placed as DrawGlyphs places them)
// as one device path, for text drawn while a path is being recorded.
QPainterPath GlyphRunOutline(const FontInstance& font, std::span<const quint32> glyphs,
                             std::span<const QPointF> origins, const GlyphStyle& style);

}  // namespace pw::gdi
