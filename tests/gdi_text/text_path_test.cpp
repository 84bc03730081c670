// Text drawn while a path is recorded adds its glyph outlines to the path,
// which is then filled, stroked or made the clip.
#include <gtest/gtest.h>

#include "platform/gdi/text/glyph_raster.h"
#include "tests/gdi_text/text_canvas.h"
#include "tests/gdi_text/text_records.h"

namespace pw::gdi {
namespace {

using test::CountPixels;
using test::FontRecord;
using test::InkBox;
using test::PlayedImage;
using test::TextRecord;
using test::Utf16Bytes;

constexpr std::uint32_t kRed = 0x0000FF;  // COLORREF
constexpr QRgb kRedPixel = 0xFFFF0000u;
constexpr std::uint32_t kNullPen = 0x80000008u;
constexpr std::int32_t kRgnCopy = 5;

EmfWriter TextInPath() {
  EmfWriter w;
  w.SetBkMode(BkMode::Transparent).SetTextAlign(TextAlign::Baseline);
  w.Record(RecordType::ExtCreateFontIndirectW, FontRecord(1, u"Arial", -60)).UseHandle(1).SelectObject(1);
  w.CreateBrush(2, BrushStyle::Solid, kRed).SelectObject(2).SelectObject(kNullPen);
  w.Record(RecordType::BeginPath);
  w.Record(RecordType::ExtTextOutW, TextRecord({8, 70}, Utf16Bytes(u"HO"), 2, std::vector<std::int32_t>{38, 42}));
  w.Record(RecordType::EndPath);
  return w;
}

// The same text drawn in black on its own.
QImage DrawnText() {
  EmfWriter w;
  w.SetBkMode(BkMode::Transparent).SetTextAlign(TextAlign::Baseline);
  w.Record(RecordType::ExtCreateFontIndirectW, FontRecord(1, u"Arial", -60)).UseHandle(1).SelectObject(1);
  w.Record(RecordType::ExtTextOutW, TextRecord({8, 70}, Utf16Bytes(u"HO"), 2, std::vector<std::int32_t>{38, 42}));
  return PlayedImage(w);
}

// Pixels at least half covered by the drawn text (smoothed text draws half
// coverage lighter than mid grey).
int HalfCovered(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += qGray(image.pixel(x, y)) <= 255 - SmoothingAlpha(8);
  return n;
}

TEST(TextPath, TextInAPathDrawsNothingUntilThePathIsUsed) {
  const QImage page = PlayedImage(TextInPath());
  ASSERT_FALSE(page.isNull());
  EXPECT_TRUE(InkBox(page).isEmpty());
}

TEST(TextPath, FillingThePathFillsTheGlyphOutlines) {
  EmfWriter w = TextInPath();
  w.Words(RecordType::FillPath, {0, 0, -1, -1});
  const QImage filled = PlayedImage(w);
  const QImage drawn = DrawnText();
  const int red = CountPixels(filled, kRedPixel);
  const int dark = HalfCovered(drawn);
  ASSERT_GT(dark, 200);
  // The fill is the glyphs: the pixels the text covers, the counter of the
  // O left open, and nothing outside the drawn text's ink.
  EXPECT_NEAR(red, dark, dark / 10);
  const QRect ink = InkBox(drawn);
  EXPECT_TRUE(ink.adjusted(-1, -1, 1, 1).contains(InkBox(filled)));
  int outside = 0;
  for (int y = 0; y < filled.height(); ++y)
    for (int x = 0; x < filled.width(); ++x)
      outside += filled.pixel(x, y) == kRedPixel && drawn.pixel(x, y) == 0xFFFFFFFFu;
  EXPECT_EQ(outside, 0);
  const QPoint o_centre((ink.center().x() + ink.right()) / 2, ink.center().y());
  ASSERT_EQ(drawn.pixel(o_centre), 0xFFFFFFFFu);
  EXPECT_EQ(filled.pixel(o_centre), 0xFFFFFFFFu) << "the O's counter is filled";
}

TEST(TextPath, ThePathOfTextClipsLaterDrawing) {
  EmfWriter w = TextInPath();
  w.Words(RecordType::SelectClipPath, {kRgnCopy});
  w.Rectangle({0, 0, 100, 100});
  const QImage clipped = PlayedImage(w);
  const int red = CountPixels(clipped, kRedPixel);
  const int dark = HalfCovered(DrawnText());
  EXPECT_NEAR(red, dark, dark / 10);
  EXPECT_EQ(CountPixels(clipped, kRedPixel) + CountPixels(clipped, 0xFFFFFFFFu), 100 * 100);
}

}  // namespace
}  // namespace pw::gdi
