// The program's own single-line texts.
#include <gtest/gtest.h>

#include <numeric>

#include "platform/gdi/text/text_draw.h"
#include "platform/gdi/text/text_out.h"
#include "tests/gdi_text/text_canvas.h"

namespace pw::gdi {
namespace {

using test::InkBox;
using test::TextCanvas;

QImage TopAligned(std::u16string text, QPoint at, const TextFont& font) {
  TextCanvas canvas(250, 120);
  Font f;
  f.logfont.face_name = font.face;
  f.logfont.height = font.height;
  f.logfont.weight = font.weight;
  f.logfont.italic = font.italic;
  f.logfont.char_set = 1;
  canvas.dc().SelectFont(f);
  canvas.dc().SetBkMode(BkMode::Transparent);
  TextRun run;
  run.reference = at;
  run.text = std::move(text);
  EXPECT_TRUE(ExtTextOut(canvas.dc(), run));
  return canvas.image();
}

TextFont Stamp() {
  TextFont font;
  font.face = u"Arial";
  font.height = -22;
  font.italic = true;
  return font;
}

TEST(TextDraw, TopLeftDrawsAtTheRectanglesCorner) {
  TextCanvas canvas(250, 120);
  canvas.dc().SetBkMode(BkMode::Transparent);
  ASSERT_TRUE(DrawTextLine(canvas.dc(), std::u16string_view(u"12/08/2026 03:44"), RectL{10, 20, 250, 120},
                           Stamp(), TextPlacement::TopLeft));
  ASSERT_FALSE(InkBox(canvas.image()).isEmpty());
  EXPECT_EQ(canvas.image(), TopAligned(u"12/08/2026 03:44", {10, 20}, Stamp()));
}

TEST(TextDraw, CenteredPutsTheTextCellInTheMiddle) {
  const std::u16string text = u"This format not supported!";
  TextFont font;
  font.height = -16;
  LogFont lf;
  lf.face_name = font.face;
  lf.height = font.height;
  auto instance = FontInstance::Create(lf, font.height, 0);
  ASSERT_TRUE(instance);
  const auto advances = instance->Advances(instance->GlyphsForText(text));
  const int width = std::accumulate(advances.begin(), advances.end(), 0);
  const int height = instance->metrics().height();

  TextCanvas canvas(250, 120);
  canvas.dc().SetBkMode(BkMode::Transparent);
  ASSERT_TRUE(DrawTextLine(canvas.dc(), std::string_view("This format not supported!"), RectL{0, 0, 250, 120},
                           font, TextPlacement::Centered));
  EXPECT_EQ(canvas.image(), TopAligned(text, {(250 - width) / 2, (120 - height) / 2}, font));
}

TEST(TextDraw, LeavesTheDcsFontAndAlignmentAlone) {
  TextCanvas canvas(250, 120);
  canvas.Select(u"Courier New", -30);
  canvas.dc().SetTextAlign(24);
  ASSERT_TRUE(DrawTextLine(canvas.dc(), std::u16string_view(u"x"), RectL{0, 0, 250, 120}, Stamp(),
                           TextPlacement::TopLeft));
  EXPECT_EQ(canvas.dc().Text().font.logfont.face_name, u"Courier New");
  EXPECT_EQ(canvas.dc().Text().font.logfont.height, -30);
  EXPECT_EQ(canvas.dc().Text().align, 24u);
}

}  // namespace
}  // namespace pw::gdi
