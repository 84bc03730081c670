#pragma once
// Glyph images as GDI's FreeType-based rasteriser makes them: hinted
// outlines, 17 coverage levels for smoothed text, one bit for bilevel text
// (NONANTIALIASED_QUALITY, or sizes where the font's gasp table turns
// smoothing off). Qt's QRawFont always smooths, so glyphs are rasterised
// here and composited through QPainter.
#include <QImage>
#include <QPainterPath>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QSize>
#include <QTransform>

#include <cstdint>

#include "platform/gdi/text/font_file.h"

namespace pw::gdi {

struct GlyphImage {
  // Coverage as 0..255 alpha (Format_Alpha8), already mapped through the
  // smoothing curve; null for blank glyphs (space) and for large glyphs,
  // which are kept as outlines and drawn a part at a time.
  QImage coverage;
  // Top-left of the glyph's image relative to its baseline origin, device pixels.
  QPoint offset;
  // The size of the glyph's whole image, also when only its outline is kept.
  QSize size;
  // The hinted advance at this size in device pixels (untransformed).
  int advance = 0;
  bool valid = false;  // false: the glyph could not be loaded

  // A large smoothed glyph: its image is made a part at a time
  // (RasterizeGlyphPart), so that a band of a page at a high supersampling
  // factor rasterises only the rows it shows.
  bool Outlined() const { return coverage.isNull() && !size.isEmpty(); }

  // The coverage in `color`, premultiplied and ready to blend. The glyph
  // keeps its black copy and the last other colour asked for, so a run of
  // text colours each glyph once rather than at every draw.
  const QImage& Tinted(QRgb color) const;

 private:
  mutable QImage black_;
  mutable QImage tinted_;
  mutable QRgb tint_ = 0;
};

// How the glyph outline is rasterised.
struct GlyphRasterKey {
  const FontFile* file = nullptr;
  int ppem = 0;
  // The linear outline transform in y-down device space (m11, m12, m21, m22).
  QTransform outline;
  bool smooth = true;
  // Grid-fitted outlines; off for glyphs GDI scales after realising them.
  bool hinted = true;
};

// The image of one glyph; cached per thread, and valid until the thread's
// next call. The file must stay alive while the cache may refer to it (fonts
// are loaded once per process).
const GlyphImage& RasterizeGlyph(const GlyphRasterKey& key, std::uint32_t glyph);

// The pixels of `part` (in the glyph image's own coordinates, clipped to
// it) of a smoothed glyph, exactly as they are in the whole image; offset
// is the part's top-left relative to the baseline origin. Not cached.
GlyphImage RasterizeGlyphPart(const GlyphRasterKey& key, std::uint32_t glyph, const QRect& part);

// The glyph's outline as `key` would rasterise it, in device pixels from
// its baseline origin (y down); empty for blank glyphs and glyphs that
// cannot be loaded. This is what text adds to a path being recorded.
QPainterPath GlyphOutline(const GlyphRasterKey& key, std::uint32_t glyph);

// The glyph index of a character in the font's Unicode (or symbol) cmap; 0
// when it has none. Cached per thread like the glyphs.
std::uint32_t GlyphForChar(const FontFile& file, char32_t c);

// The alpha GDI gives a coverage level 0..16 of smoothed text.
std::uint8_t SmoothingAlpha(int level);

}  // namespace pw::gdi
