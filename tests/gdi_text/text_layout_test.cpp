// Where ExtTextOut puts text: alignment, dx arrays, rectangles, rotation,
// current position and scaling, checked on the pixels drawn.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <numeric>
#include <set>

#include "platform/gdi/text/text_out.h"
#include "tests/gdi_text/text_canvas.h"

namespace pw::gdi {
namespace {

using test::CountPixels;
using test::InkBox;
using test::Shifted;
using test::TextCanvas;

constexpr std::uint32_t kTop = 0, kBottom = 8, kBaseline = 24;
constexpr std::uint32_t kLeft = 0, kRight = 2, kCenter = 6;
constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kRed = 0xFFFF0000u;

TextRun MakeRun(int x, int y, std::u16string text, std::vector<std::int32_t> dx = {}) {
  TextRun run;
  run.reference = QPoint(x, y);
  run.text = std::move(text);
  run.dx = std::move(dx);
  return run;
}

// Draws `run` on a fresh 300 × 300 canvas with Arial at `height`.
QImage Draw(const TextRun& run, std::uint32_t align = kLeft | kBaseline, int height = -20, int escapement = 0) {
  TextCanvas canvas(300, 300);
  canvas.Select(u"Arial", height, 400, false, escapement);
  canvas.dc().SetBkMode(BkMode::Transparent);
  canvas.dc().SetTextAlign(align);
  EXPECT_TRUE(ExtTextOut(canvas.dc(), run));
  return canvas.image();
}

struct Measured {
  int width = 0;
  int ascent = 0;
  int descent = 0;
};

Measured Measure(const std::u16string& text, int height = -20) {
  LogFont lf;
  lf.face_name = u"Arial";
  lf.height = height;
  auto font = FontInstance::Create(lf, height, 0);
  EXPECT_TRUE(font);
  auto advances = font->Advances(font->GlyphsForText(text));
  return {std::accumulate(advances.begin(), advances.end(), 0), font->metrics().ascent, font->metrics().descent};
}

TEST(TextLayout, EveryAlignmentMovesTheTextByItsExtentAndMetrics) {
  const std::u16string text = u"Hgj";
  const Measured m = Measure(text);
  ASSERT_GT(m.width, 20);
  const QImage base = Draw(MakeRun(100, 100, text));
  ASSERT_FALSE(InkBox(base).isEmpty());
  for (std::uint32_t h : {kLeft, kCenter, kRight}) {
    for (std::uint32_t v : {kTop, kBaseline, kBottom}) {
      const int dx = h == kLeft ? 0 : h == kRight ? -m.width : -(m.width / 2);
      const int dy = v == kTop ? m.ascent : v == kBottom ? -m.descent : 0;
      EXPECT_EQ(Draw(MakeRun(100, 100, text), h | v), Shifted(base, dx, dy)) << "align " << (h | v);
    }
  }
}

TEST(TextLayout, OpaqueBackgroundFillsTheTextCell) {
  const std::u16string text = u"Hgj";
  const Measured m = Measure(text);
  TextCanvas canvas(300, 300);
  canvas.Select(u"Arial", -20);
  canvas.dc().SetBkMode(BkMode::Opaque);
  canvas.dc().SetBkColor(0x0000FF);  // red
  canvas.dc().SetTextAlign(kTop | kLeft);
  ASSERT_TRUE(ExtTextOut(canvas.dc(), MakeRun(40, 60, text)));
  EXPECT_EQ(InkBox(canvas.image()), QRect(40, 60, m.width, m.ascent + m.descent));
  EXPECT_GT(CountPixels(canvas.image(), kRed), m.width * (m.ascent + m.descent) / 2);
}

TEST(TextLayout, DxArrayPlacesEveryGlyph) {
  QImage singles(300, 300, QImage::Format_RGB32);
  {
    TextCanvas canvas(300, 300);
    canvas.Select(u"Arial", -20);
    canvas.dc().SetBkMode(BkMode::Transparent);
    canvas.dc().SetTextAlign(kLeft | kBaseline);
    for (int x : {50, 90, 115}) ASSERT_TRUE(ExtTextOut(canvas.dc(), MakeRun(x, 100, u"H")));
    singles = canvas.image();
  }
  EXPECT_EQ(Draw(MakeRun(50, 100, u"HHH", {40, 25, 0})), singles);
  // Advances are what the record says, not the font's own.
  EXPECT_NE(Draw(MakeRun(50, 100, u"HHH")), singles);
}

TEST(TextLayout, PdyPairsMoveGlyphsVertically) {
  TextCanvas canvas(300, 300);
  canvas.Select(u"Arial", -20);
  canvas.dc().SetBkMode(BkMode::Transparent);
  canvas.dc().SetTextAlign(kLeft | kBaseline);
  ASSERT_TRUE(ExtTextOut(canvas.dc(), MakeRun(50, 100, u"H")));
  ASSERT_TRUE(ExtTextOut(canvas.dc(), MakeRun(80, 80, u"H")));
  // A positive vertical advance raises the next glyph.
  TextRun run = MakeRun(50, 100, u"HH", {30, 20, 0, 0});
  run.options = static_cast<std::uint32_t>(TextOption::Pdy);
  EXPECT_EQ(Draw(run, kLeft | kBaseline), canvas.image());
}

TEST(TextLayout, ShortDxArrayIsRefused) {
  TextCanvas canvas(100, 100);
  canvas.Select(u"Arial", -20);
  EXPECT_FALSE(ExtTextOut(canvas.dc(), MakeRun(10, 50, u"abc", {10, 10})));
  EXPECT_TRUE(InkBox(canvas.image()).isEmpty());
}

TEST(TextLayout, OpaqueRectangleFillsExactlyAndClippedRectangleCuts) {
  {
    TextCanvas canvas(100, 100);
    canvas.Select(u"Arial", -20);
    canvas.dc().SetBkMode(BkMode::Transparent);
    canvas.dc().SetBkColor(0x0000FF);
    TextRun run = MakeRun(0, 0, u"");
    run.options = static_cast<std::uint32_t>(TextOption::Opaque);
    run.rect = RectL{10, 20, 60, 30};
    ASSERT_TRUE(ExtTextOut(canvas.dc(), run));
    EXPECT_EQ(InkBox(canvas.image()), QRect(10, 20, 50, 10));
    EXPECT_EQ(CountPixels(canvas.image(), kRed), 500);
  }
  {
    TextCanvas canvas(300, 300);
    canvas.Select(u"Arial", -60);
    canvas.dc().SetBkMode(BkMode::Transparent);
    canvas.dc().SetTextAlign(kLeft | kBaseline);
    TextRun run = MakeRun(20, 150, u"WWWW");
    run.options = static_cast<std::uint32_t>(TextOption::Clipped);
    run.rect = RectL{40, 110, 120, 140};
    ASSERT_TRUE(ExtTextOut(canvas.dc(), run));
    const QRect ink = InkBox(canvas.image());
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(QRect(40, 110, 80, 30).contains(ink)) << ink.x() << "," << ink.y() << " " << ink.width() << "x"
                                                      << ink.height();
  }
}

TEST(TextLayout, EscapementRotatesTheBaseline) {
  const std::u16string text = u"HHHH";
  const Measured m = Measure(text, -30);
  const QImage up = Draw(MakeRun(150, 200, text), kLeft | kBaseline, -30, 900);
  const QRect a = InkBox(up);
  ASSERT_FALSE(a.isEmpty());
  // Reading upwards: the glyphs stand left of the reference point, above it.
  EXPECT_LE(a.right(), 150 + m.descent);
  EXPECT_GE(a.left(), 150 - m.ascent - 1);
  EXPECT_LE(a.bottom(), 200);
  EXPECT_NEAR(a.height(), m.width, 4);

  const QImage down = Draw(MakeRun(150, 50, text), kLeft | kBaseline, -30, 2700);
  const QRect b = InkBox(down);
  ASSERT_FALSE(b.isEmpty());
  EXPECT_GE(b.left(), 150 - m.descent - 1);
  EXPECT_LE(b.right(), 150 + m.ascent);
  EXPECT_GE(b.top(), 50);
  EXPECT_NEAR(b.height(), m.width, 4);

  // TA_TOP moves the rotated text along its own "down", i.e. to the right.
  const QRect top = InkBox(Draw(MakeRun(150, 200, text), kLeft | kTop, -30, 900));
  EXPECT_EQ(top, a.translated(m.ascent, 0));
}

TEST(TextLayout, UpdateCpDrawsAtAndAdvancesTheCurrentPosition) {
  const Measured m = Measure(u"Hi");
  TextCanvas canvas(300, 300);
  canvas.Select(u"Arial", -20);
  canvas.dc().SetBkMode(BkMode::Transparent);
  canvas.dc().SetTextAlign(kLeft | kBaseline | 1);
  canvas.dc().MoveTo(QPoint(20, 50));
  ASSERT_TRUE(ExtTextOut(canvas.dc(), MakeRun(0, 0, u"Hi")));
  EXPECT_EQ(canvas.dc().CurrentPosition(), QPoint(20 + m.width, 50));
  ASSERT_TRUE(ExtTextOut(canvas.dc(), MakeRun(0, 0, u"Hi")));
  EXPECT_EQ(canvas.image(), Draw(MakeRun(20, 50, u"HiHi")));

  canvas.dc().SetTextAlign(kRight | kBaseline | 1);
  canvas.dc().MoveTo(QPoint(200, 100));
  ASSERT_TRUE(ExtTextOut(canvas.dc(), MakeRun(0, 0, u"Hi")));
  EXPECT_EQ(canvas.dc().CurrentPosition(), QPoint(200 - m.width, 100));
}

TEST(TextLayout, MappingScalesHeightsAndPositions) {
  TextCanvas canvas(300, 300);
  canvas.Select(u"Arial", -10);
  canvas.dc().SetBkMode(BkMode::Transparent);
  canvas.dc().SetTextAlign(kLeft | kBaseline);
  canvas.dc().SetMapMode(MapMode::Anisotropic);
  canvas.dc().SetWindowExt(QSize(100, 100));
  canvas.dc().SetViewportExt(QSize(200, 200));
  ASSERT_TRUE(ExtTextOut(canvas.dc(), MakeRun(25, 50, u"Scaled", {6, 5, 5, 5, 5, 5})));
  EXPECT_EQ(canvas.image(), Draw(MakeRun(50, 100, u"Scaled", {12, 10, 10, 10, 10, 10})));
}

int GrayLevels(const QImage& image) {
  std::set<QRgb> levels;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) levels.insert(image.pixel(x, y));
  return static_cast<int>(levels.size());
}

TEST(TextLayout, AnisotropicMappingMovesGlyphsButKeepsTheirShape) {
  TextCanvas canvas(300, 300);
  canvas.Select(u"Arial", -20);
  canvas.dc().SetBkMode(BkMode::Transparent);
  canvas.dc().SetTextAlign(kLeft | kBaseline);
  canvas.dc().SetMapMode(MapMode::Anisotropic);
  canvas.dc().SetWindowExt(QSize(100, 100));
  canvas.dc().SetViewportExt(QSize(200, 100));
  ASSERT_TRUE(ExtTextOut(canvas.dc(), MakeRun(10, 50, u"HH", {20, 20})));
  EXPECT_EQ(canvas.image(), Draw(MakeRun(20, 50, u"HH", {40, 40})));
}

TEST(TextLayout, AdvancedModeStretchedTextIsSmoothed) {
  // 12 pixels per em is bilevel for Arial's stand-in...
  const QImage plain = Draw(MakeRun(10, 50, u"Hag", {10, 10, 10}), kLeft | kBaseline, -12);
  EXPECT_EQ(GrayLevels(plain), 2);
  // ...but an outline the world transform stretches is drawn smoothed.
  TextCanvas canvas(300, 300);
  canvas.Select(u"Arial", -24);
  canvas.dc().SetBkMode(BkMode::Transparent);
  canvas.dc().SetTextAlign(kLeft | kBaseline);
  ASSERT_TRUE(canvas.dc().SetWorldTransform(QTransform(1.0, 0, 0, 0.5, 0, 0)));
  TextRun run = MakeRun(10, 100, u"Hag", {20, 20, 20});
  run.graphics_mode = GraphicsMode::Advanced;
  ASSERT_TRUE(ExtTextOut(canvas.dc(), run));
  EXPECT_GT(GrayLevels(canvas.image()), 4);
  const QRect ink = InkBox(canvas.image());
  EXPECT_NEAR(ink.height(), InkBox(plain).height(), 1);
  EXPECT_GT(ink.width(), 2 * InkBox(plain).width() - 6);
}

TEST(TextLayout, CompatibleTextFollowsARotatedWorldWithUprightGlyphs) {
  // A world turned 30 degrees counter-clockwise: the baseline climbs, the
  // glyphs stay upright, with or without a dx array.
  const double c = std::cos(std::numbers::pi / 6), s = std::sin(std::numbers::pi / 6);
  for (bool with_dx : {false, true}) {
    TextCanvas canvas(300, 300);
    canvas.Select(u"Arial", -20);
    canvas.dc().SetBkMode(BkMode::Transparent);
    canvas.dc().SetTextAlign(kLeft | kBaseline);
    ASSERT_TRUE(canvas.dc().SetWorldTransform(QTransform(c, -s, s, c, 0, 0)));
    TextRun run = MakeRun(60, 200, u"HHHHHHHH");
    if (with_dx) run.dx.assign(8, 15);
    ASSERT_TRUE(ExtTextOut(canvas.dc(), run));
    const QRect ink = InkBox(canvas.image());
    ASSERT_FALSE(ink.isEmpty());
    // About 110 pixels along the baseline: some 55 of them upwards.
    EXPECT_GT(ink.height(), 60) << "dx " << with_dx;
    EXPECT_LT(ink.height(), ink.width()) << "dx " << with_dx;
    // Upright glyphs: the first H's stems are vertical, so its leftmost
    // inked column runs the full cap height.
    int run_length = 0, longest = 0;
    for (int y = ink.top(); y <= ink.bottom(); ++y) {
      run_length = canvas.image().pixel(ink.left(), y) != 0xFFFFFFFFu ? run_length + 1 : 0;
      longest = std::max(longest, run_length);
    }
    EXPECT_GE(longest, 12) << "dx " << with_dx;
  }
}

TEST(TextLayout, FractionalDeviceHeightsAreCutToWholePixels) {
  TextCanvas canvas(100, 100);
  canvas.dc().SetMapMode(MapMode::Anisotropic);
  canvas.dc().SetWindowExt(QSize(10000, 10000));
  canvas.dc().SetViewportExt(QSize(12575, 12575));
  LogFont lf;
  lf.face_name = u"Calibri";
  lf.height = -15;  // 18.86 device pixels
  auto font = RealizeFont(canvas.dc(), lf, GraphicsMode::Compatible);
  ASSERT_TRUE(font);
  EXPECT_EQ(font->ppem(), 18);
  lf.height = -16;  // 20.12
  EXPECT_EQ(RealizeFont(canvas.dc(), lf, GraphicsMode::Compatible)->ppem(), 20);
}

TEST(TextLayout, UnderlineRunsTheLengthOfTheText) {
  const Measured m = Measure(u"ab");
  TextCanvas canvas(300, 300);
  Font font;
  font.logfont.face_name = u"Arial";
  font.logfont.height = -20;
  font.logfont.underline = 1;
  canvas.dc().SelectFont(font);
  canvas.dc().SetBkMode(BkMode::Transparent);
  canvas.dc().SetTextAlign(kLeft | kBaseline);
  ASSERT_TRUE(ExtTextOut(canvas.dc(), MakeRun(30, 100, u"ab")));
  const QImage& image = canvas.image();
  int longest = 0;
  for (int y = 100; y < 100 + m.descent; ++y) {
    int run = 0;
    for (int x = 0; x < image.width(); ++x) run += image.pixel(x, y) == 0xFF000000u;
    longest = std::max(longest, run);
  }
  EXPECT_EQ(longest, m.width);
}

}  // namespace
}  // namespace pw::gdi
