// Which way text runs: escapement and orientation under mappings that flip
// an axis, and the vertical advances of ETO_PDY.
#include <gtest/gtest.h>

#include "platform/gdi/emf/emf_writer.h"
#include "tests/gdi_text/text_canvas.h"
#include "tests/gdi_text/text_records.h"

namespace pw::gdi {
namespace {

using test::FontRecord;
using test::InkBox;
using test::TextRecord;
using test::Utf16Bytes;

constexpr std::uint32_t kPdy = 0x2000;
constexpr std::uint32_t kAdvanced = 2;

QImage Play(const EmfWriter& writer) {
  QImage image = test::PlayedImage(writer);
  EXPECT_FALSE(image.isNull());
  return image;
}

// A transparent page, baseline alignment, in MM_TEXT or in a mapping of
// 100 logical units on 100 pixels whose x or y axis runs the other way.
EmfWriter Page(bool flip_x = false, bool flip_y = false) {
  EmfWriter w;
  w.SetBkMode(BkMode::Transparent).SetTextAlign(TextAlign::Baseline);
  if (flip_x || flip_y) {
    w.SetMapMode(MapMode::Anisotropic).SetWindowExt(100, 100);
    w.SetViewportExt(flip_x ? -100 : 100, flip_y ? -100 : 100);
    w.SetViewportOrg(flip_x ? 100 : 0, flip_y ? 100 : 0);
  }
  return w;
}

void Text(EmfWriter& w, PointL at, std::u16string_view text, std::vector<std::int32_t> dx,
          const test::TextRecordFields& fields = {}) {
  w.Record(RecordType::ExtTextOutW, TextRecord(at, Utf16Bytes(text), static_cast<std::uint32_t>(text.size()), dx, fields));
}

void SelectFont(EmfWriter& w, std::int32_t escapement, std::optional<std::int32_t> orientation = std::nullopt) {
  w.Record(RecordType::ExtCreateFontIndirectW, FontRecord(1, u"Arial", -20, 0, escapement, orientation));
  w.UseHandle(1).SelectObject(1);
}

TEST(TextDirection, EscapementUnderAFlippedYAxisKeepsItsTurnOnThePage) {
  // A chart's axis title: escapement 2700 with y running up the page reads
  // bottom to top, as escapement 900 does in MM_TEXT.
  EmfWriter plain = Page();
  SelectFont(plain, 900);
  Text(plain, {50, 80}, u"Tg", {12, 12});
  const QImage expected = Play(plain);
  const QRect box = InkBox(expected);
  ASSERT_FALSE(box.isEmpty());
  EXPECT_GT(box.height(), box.width());
  EXPECT_LT(box.top(), 62);  // runs up from the reference point
  EXPECT_LE(box.bottom(), 82);

  EmfWriter flipped = Page(false, true);
  SelectFont(flipped, 2700);
  Text(flipped, {50, 20}, u"Tg", {12, 12});  // device (50, 80)
  EXPECT_EQ(Play(flipped), expected);
}

TEST(TextDirection, AFlippedXAxisStillRunsTextLeftToRight) {
  EmfWriter plain = Page();
  SelectFont(plain, 0);
  Text(plain, {30, 50}, u"Tg", {12, 12});
  const QImage expected = Play(plain);
  ASSERT_FALSE(InkBox(expected).isEmpty());
  EXPECT_GE(InkBox(expected).left(), 29);

  EmfWriter flipped = Page(true, false);
  SelectFont(flipped, 0);
  Text(flipped, {70, 50}, u"Tg", {12, 12});  // device (30, 50)
  EXPECT_EQ(Play(flipped), expected);
}

TEST(TextDirection, VerticalAdvancesRaiseTheGlyphsAfterThem) {
  // "x" then a raised "x": the pair (14, 8) moves the second glyph 14
  // pixels on and 8 up, like a superscript; the last pair brings nothing.
  EmfWriter separate = Page();
  SelectFont(separate, 0);
  Text(separate, {10, 50}, u"x", {14});
  Text(separate, {24, 42}, u"x", {14});
  const QImage expected = Play(separate);
  ASSERT_FALSE(InkBox(expected).isEmpty());

  EmfWriter pdy = Page();
  SelectFont(pdy, 0);
  Text(pdy, {10, 50}, u"xx", {14, 8, 14, 0}, {.options = kPdy});
  EXPECT_EQ(Play(pdy), expected);

  // Compatible-mode text keeps "up" on the page when the y axis points up.
  EmfWriter flipped = Page(false, true);
  SelectFont(flipped, 0);
  Text(flipped, {10, 50}, u"xx", {14, 8, 14, 0}, {.options = kPdy});
  EXPECT_EQ(Play(flipped), expected);
}

TEST(TextDirection, AdvancedModeTurnsGlyphsByOrientationAndTheBaselineByEscapement) {
  // Two dashes along a baseline that runs up the page: upright dashes are
  // wide and stacked; dashes turned with the baseline are narrow.
  const auto width_of = [](std::int32_t orientation) {
    EmfWriter w = Page();
    SelectFont(w, 900, orientation);
    Text(w, {50, 80}, u"--", {20, 20}, {.graphics_mode = kAdvanced});
    return InkBox(Play(w));
  };
  const QRect upright = width_of(0);
  const QRect turned = width_of(900);
  ASSERT_FALSE(upright.isEmpty());
  ASSERT_FALSE(turned.isEmpty());
  EXPECT_GT(upright.height(), 20);  // both dashes, one above the other
  EXPECT_GT(turned.height(), 20);
  EXPECT_GT(upright.width(), 2 * turned.width());
}

}  // namespace
}  // namespace pw::gdi
