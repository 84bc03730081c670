// Glyph images: parts of a glyph rasterised on their own are the same pixels
// as the glyph rasterised whole, so a band that shows part of a large letter
// draws exactly what one tall surface would.
#include <gtest/gtest.h>

#include <QPainter>

#include "platform/gdi/text/font_file.h"
#include "platform/gdi/text/font_match.h"
#include "platform/gdi/text/glyph_raster.h"
#include "platform/gdi/text/text_out.h"
#include "tests/gdi_text/text_canvas.h"

namespace pw::gdi {
namespace {

std::shared_ptr<const FontFile> SansFile() {
  FontRequest request;
  request.face = "Arial";
  const FontMatch match = MatchFont(request);
  return match.file.empty() ? nullptr : LoadFontFile(match.file, match.index);
}

TEST(GlyphRaster, PartsOfAGlyphAreTheSamePixelsAsTheWholeImage) {
  const auto file = SansFile();
  if (!file) GTEST_SKIP() << "no sans font installed";
  QTransform rotated;
  rotated.rotate(-30);
  for (const QTransform& outline : {QTransform(), rotated, QTransform(1, 0, -0.2126, 1, 0, 0)}) {
    const GlyphRasterKey key{file.get(), 97, outline, true, true};
    for (const char32_t c : {U'A', U'g', U'&', U'@', U'W'}) {
      SCOPED_TRACE(static_cast<int>(c));
      const std::uint32_t glyph = GlyphForChar(*file, c);
      ASSERT_NE(glyph, 0u);
      // A copy: the cache entry may go when the parts are made.
      const GlyphImage whole = RasterizeGlyph(key, glyph);
      ASSERT_FALSE(whole.coverage.isNull());
      ASSERT_FALSE(whole.Outlined());

      // The box a part-wise render takes from the loaded glyph is the box
      // the whole render has.
      const GlyphImage all = RasterizeGlyphPart(key, glyph, QRect(-5, -5, 4000, 4000));
      EXPECT_EQ(all.offset, whole.offset);
      EXPECT_EQ(all.size, whole.size);
      EXPECT_EQ(all.coverage, whole.coverage);

      // Uneven windows, some hanging over the image's edges.
      const QSize size = whole.size;
      for (const QRect window : {QRect(0, 0, size.width(), size.height() / 3),
                                 QRect(0, size.height() / 3, size.width(), 7),
                                 QRect(size.width() / 2, size.height() / 2, size.width(), size.height()),
                                 QRect(-3, size.height() - 2, 11, 9)}) {
        SCOPED_TRACE(testing::Message() << "window " << window.x() << "," << window.y() << " " << window.width()
                                        << "x" << window.height());
        const GlyphImage part = RasterizeGlyphPart(key, glyph, window);
        const QRect clipped = window.intersected(QRect(QPoint(0, 0), size));
        ASSERT_EQ(part.size, clipped.size());
        EXPECT_EQ(part.offset, whole.offset + clipped.topLeft());
        EXPECT_EQ(part.coverage, whole.coverage.copy(clipped));
      }
      EXPECT_TRUE(RasterizeGlyphPart(key, glyph, QRect(size.width(), 0, 10, 10)).coverage.isNull());
    }
  }
}

TEST(GlyphRaster, LargeSmoothedGlyphsAreKeptAsOutlinesAndBilevelOnesAsImages) {
  const auto file = SansFile();
  if (!file) GTEST_SKIP() << "no sans font installed";
  const std::uint32_t glyph = GlyphForChar(*file, U'M');
  const GlyphImage& large = RasterizeGlyph(GlyphRasterKey{file.get(), 1500, QTransform(), true, true}, glyph);
  EXPECT_TRUE(large.valid);
  EXPECT_TRUE(large.Outlined());
  EXPECT_GT(large.size.width(), 1000);
  EXPECT_GT(large.advance, 1000);
  const GlyphImage& bilevel = RasterizeGlyph(GlyphRasterKey{file.get(), 1500, QTransform(), false, true}, glyph);
  EXPECT_FALSE(bilevel.Outlined());
  EXPECT_EQ(bilevel.size, bilevel.coverage.size());
}

// Text a band at a time, as the page rasteriser draws it: each band's
// device is a slice of the page with the page moved up by the band's top.
QImage DrawnInBands(int width, int height, int band, int escapement) {
  QImage page(width, height, QImage::Format_RGB32);
  for (int top = 0; top < height; top += band) {
    test::TextCanvas canvas(width, std::min(band, height - top));
    canvas.Select(u"Arial", -1400, 400, false, escapement);
    canvas.dc().SetBkMode(BkMode::Transparent);
    TextRun run;
    run.reference = QPoint(60, 200 - top);
    run.text = u"Ag";
    EXPECT_TRUE(ExtTextOut(canvas.dc(), run));
    QPainter(&page).drawImage(0, top, canvas.image());
  }
  return page;
}

TEST(GlyphRaster, ALargeLetterDrawnInBandsIsTheLetterDrawnWhole) {
  if (!SansFile()) GTEST_SKIP() << "no sans font installed";
  for (const int escapement : {0, -150}) {
    SCOPED_TRACE(escapement);
    const QImage whole = DrawnInBands(1800, 1900, 1900, escapement);
    ASSERT_GT(test::InkBox(whole).height(), 900);
    EXPECT_EQ(DrawnInBands(1800, 1900, 97, escapement), whole);
  }
}

}  // namespace
}  // namespace pw::gdi
