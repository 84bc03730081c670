// The player's text records: fonts, strings, dx arrays and their checks.
#include <QFile>
#include <gtest/gtest.h>

#include "platform/gdi/emf/emf_writer.h"
#include "platform/gdi/player/player.h"
#include "platform/gdi/text/text_out.h"
#include "tests/gdi_text/text_canvas.h"
#include "tests/gdi_text/text_records.h"

namespace pw::gdi {
namespace {

using test::FontRecord;
using test::InkBox;
using test::TextRecord;
using test::Utf16Bytes;
using test::TextCanvas;

constexpr std::uint32_t kBaseline = 24;

struct Played {
  QImage image;
  PlayReport report;
};

// Plays onto 100 × 100 pixels: one logical unit is one pixel.
Played Play(const EmfWriter& writer) {
  auto metafile = Metafile::FromBytes(writer.Finish());
  EXPECT_TRUE(metafile.has_value());
  auto surface = Surface::Create(100, 100);
  Played out;
  {
    DeviceContext dc(*surface);
    EXPECT_TRUE(PlayMetafile(dc, *metafile, RectL{0, 0, 100, 100}, &out.report));
  }
  out.image = surface->image();
  return out;
}

EmfWriter TextPage() {
  EmfWriter w;
  w.SetBkMode(BkMode::Transparent);
  w.SetTextAlign(kBaseline);
  return w;
}

QImage Direct(std::u16string text, QPoint at, std::vector<std::int32_t> dx, int height = -20,
              std::u16string face = u"Arial") {
  TextCanvas canvas(100, 100);
  canvas.Select(face, height);
  canvas.dc().SetBkMode(BkMode::Transparent);
  canvas.dc().SetTextAlign(kBaseline);
  TextRun run;
  run.reference = at;
  run.text = std::move(text);
  run.dx = std::move(dx);
  EXPECT_TRUE(ExtTextOut(canvas.dc(), run));
  return canvas.image();
}

std::uint32_t Count(const PlayReport& report, RecordType type, std::uint32_t RecordCounts::*field) {
  auto it = report.records.find(static_cast<std::uint32_t>(type));
  return it == report.records.end() ? 0 : it->second.*field;
}

TEST(PlayText, ExtTextOutWDrawsWithTheRecordedFontAndAdvances) {
  const std::vector<std::int32_t> dx{14, 12, 13};
  EmfWriter w = TextPage();
  w.Record(RecordType::ExtCreateFontIndirectW, FontRecord(1, u"Arial", -20)).UseHandle(1).SelectObject(1);
  w.Record(RecordType::ExtTextOutW, TextRecord({10, 50}, Utf16Bytes(u"Abc"), 3, dx));
  const Played p = Play(w);
  EXPECT_EQ(Count(p.report, RecordType::ExtTextOutW, &RecordCounts::played), 1u);
  EXPECT_EQ(Count(p.report, RecordType::ExtCreateFontIndirectW, &RecordCounts::played), 1u);
  ASSERT_FALSE(InkBox(p.image).isEmpty());
  EXPECT_EQ(p.image, Direct(u"Abc", {10, 50}, dx));
}

TEST(PlayText, APositiveCellHeightDrawsTheEmThatFitsInIt) {
  // A 33-pixel Arial cell holds a 29-pixel em, not the 30 that rounding gives.
  EmfWriter w = TextPage();
  w.Record(RecordType::ExtCreateFontIndirectW, FontRecord(1, u"Arial", 33)).UseHandle(1).SelectObject(1);
  w.Record(RecordType::ExtTextOutW, TextRecord({10, 60}, Utf16Bytes(u"Hg"), 2, std::vector<std::int32_t>{24, 20}));
  const QImage played = Play(w).image;
  ASSERT_FALSE(InkBox(played).isEmpty());
  EXPECT_EQ(played, Direct(u"Hg", {10, 60}, {24, 20}, -29));
  EXPECT_NE(played, Direct(u"Hg", {10, 60}, {24, 20}, -30));
}

TEST(PlayText, TopAlignedTextHangsByTheAscentOfTheFontsOwnMetrics) {
  // Tahoma's VDMX table holds one ratio, for all glyphs, which GDI passes
  // over: a 70-pixel em has the 70-pixel ascent of its win metrics, not
  // the table's 72.
  if (!QFile::exists("/usr/share/wine/fonts/tahoma.ttf")) GTEST_SKIP() << "no Tahoma";
  const auto page = [](std::uint32_t align, std::int32_t y) {
    EmfWriter w;
    w.SetBkMode(BkMode::Transparent).SetTextAlign(align);
    w.Record(RecordType::ExtCreateFontIndirectW, FontRecord(1, u"Tahoma", -70)).UseHandle(1).SelectObject(1);
    w.Record(RecordType::ExtTextOutW, TextRecord({5, y}, Utf16Bytes(u"H"), 1, std::vector<std::int32_t>{50}));
    return Play(w).image;
  };
  const QImage top = page(0, 5);
  ASSERT_FALSE(InkBox(top).isEmpty());
  EXPECT_EQ(top, page(kBaseline, 75));
}

TEST(PlayText, TopAlignmentOnAScaledPageTakesTheAscentThroughLogicalUnits) {
  // At 1.5 pixels a unit an 18-pixel Arial em has a 16-pixel ascent: 11
  // logical units, which are 17 pixels again. The text hangs by those 17.
  EmfWriter scaled;
  scaled.SetBkMode(BkMode::Transparent).SetTextAlign(0);
  scaled.SetMapMode(MapMode::Anisotropic).SetWindowExt(100, 100).SetViewportExt(150, 150);
  scaled.Record(RecordType::ExtCreateFontIndirectW, FontRecord(1, u"Arial", -12)).UseHandle(1).SelectObject(1);
  scaled.Record(RecordType::ExtTextOutW, TextRecord({10, 20}, Utf16Bytes(u"Hg"), 2, std::vector<std::int32_t>{10, 10}));
  const QImage played = Play(scaled).image;
  ASSERT_FALSE(InkBox(played).isEmpty());
  EXPECT_EQ(played, Direct(u"Hg", {15, 47}, {15, 15}, -18));
  EXPECT_NE(played, Direct(u"Hg", {15, 46}, {15, 15}, -18));
}

TEST(PlayText, ExtTextOutADecodesInTheFontsCodePage) {
  const std::vector<std::uint8_t> cyrillic{0xC0, 0xE1};  // U+0410 U+0431 in code page 1251
  EmfWriter w = TextPage();
  w.Record(RecordType::ExtCreateFontIndirectW, FontRecord(1, u"Arial", -20, 204)).UseHandle(1).SelectObject(1);
  w.Record(RecordType::ExtTextOutA, TextRecord({10, 50}, cyrillic, 2, std::vector<std::int32_t>{15, 15}));
  const Played p = Play(w);
  EXPECT_EQ(Count(p.report, RecordType::ExtTextOutA, &RecordCounts::played), 1u);
  TextCanvas canvas(100, 100);
  canvas.Select(u"Arial", -20, 400, false, 0, 204);
  canvas.dc().SetBkMode(BkMode::Transparent);
  canvas.dc().SetTextAlign(kBaseline);
  TextRun run;
  run.reference = QPoint(10, 50);
  run.text = u"\u0410\u0431";
  run.dx = {15, 15};
  ASSERT_TRUE(ExtTextOut(canvas.dc(), run));
  EXPECT_EQ(p.image, canvas.image());
}

TEST(PlayText, CountsAndOffsetsOutsideTheRecordAreRefused) {
  const std::vector<std::int32_t> dx{14, 12, 13};
  struct Case {
    const char* what;
    std::optional<std::uint32_t> chars;
    std::optional<std::uint32_t> dx_offset;
  };
  const Case cases[] = {
      {"character count past the record", 4000, std::nullopt},
      {"huge character count", 0x7FFFFFFF, std::nullopt},
      {"dx array past the record", std::nullopt, 4000},
      {"dx offset wrapping round", std::nullopt, 0xFFFFFFF0u},
  };
  for (const auto& c : cases) {
    EmfWriter w = TextPage();
    w.Record(RecordType::ExtCreateFontIndirectW, FontRecord(1, u"Arial", -20)).UseHandle(1).SelectObject(1);
    w.Record(RecordType::ExtTextOutW,
             TextRecord({10, 50}, Utf16Bytes(u"Abc"), 3, dx, {.chars = c.chars, .dx_offset = c.dx_offset}));
    const Played p = Play(w);
    EXPECT_EQ(Count(p.report, RecordType::ExtTextOutW, &RecordCounts::malformed), 1u) << c.what;
    EXPECT_TRUE(InkBox(p.image).isEmpty()) << c.what;
  }
  // A font record shorter than a LOGFONT, or for a handle outside the table.
  EmfWriter w = TextPage();
  w.Record(RecordType::ExtCreateFontIndirectW, RecordBuilder().U32(1).I32(-20));
  w.Record(RecordType::ExtCreateFontIndirectW, FontRecord(500, u"Arial", -20));
  const Played p = Play(w);
  EXPECT_EQ(Count(p.report, RecordType::ExtCreateFontIndirectW, &RecordCounts::malformed), 2u);
}

TEST(PlayText, PolyTextOutDrawsEachString) {
  const std::vector<std::uint8_t> a = Utf16Bytes(u"Hi");
  const std::vector<std::uint8_t> b = Utf16Bytes(u"Yo");
  // Two EMRTEXTs after the 36-byte head, then the strings.
  constexpr std::uint32_t kFirst = 8 + 16 + 12 + 4 + 2 * 40;
  RecordBuilder r;
  r.Rect({0, 0, -1, -1}).U32(1).F32(1).F32(1).U32(2);
  r.Point({10, 30}).U32(2).U32(kFirst).U32(0).Rect({0, 0, -1, -1}).U32(0);
  r.Point({20, 70}).U32(2).U32(kFirst + 4).U32(0).Rect({0, 0, -1, -1}).U32(0);
  r.Bytes(std::as_bytes(std::span(a))).Bytes(std::as_bytes(std::span(b)));
  EmfWriter w = TextPage();
  w.Record(RecordType::ExtCreateFontIndirectW, FontRecord(1, u"Arial", -20)).UseHandle(1).SelectObject(1);
  w.Record(RecordType::PolyTextOutW, r);
  const Played p = Play(w);
  EXPECT_EQ(Count(p.report, RecordType::PolyTextOutW, &RecordCounts::played), 1u);

  TextCanvas canvas(100, 100);
  canvas.Select(u"Arial", -20);
  canvas.dc().SetBkMode(BkMode::Transparent);
  canvas.dc().SetTextAlign(kBaseline);
  TextRun one;
  one.reference = QPoint(10, 30);
  one.text = u"Hi";
  TextRun two = one;
  two.reference = QPoint(20, 70);
  two.text = u"Yo";
  ASSERT_TRUE(ExtTextOut(canvas.dc(), one));
  ASSERT_TRUE(ExtTextOut(canvas.dc(), two));
  EXPECT_EQ(p.image, canvas.image());

  // A string count the record cannot hold.
  RecordBuilder bad;
  bad.Rect({0, 0, -1, -1}).U32(1).F32(1).F32(1).U32(1000000);
  EmfWriter w2 = TextPage();
  w2.Record(RecordType::PolyTextOutW, bad);
  EXPECT_EQ(Count(Play(w2).report, RecordType::PolyTextOutW, &RecordCounts::malformed), 1u);
}

TEST(PlayText, SmallTextOutTakesEightBitCharacters) {
  constexpr std::uint32_t kNoRect = 0x100, kSmallChars = 0x200;
  RecordBuilder r;
  r.I32(10).I32(50).U32(3).U32(kNoRect | kSmallChars).U32(1).F32(1).F32(1);
  r.U8('W').U8('a').U8('x').Align4();
  EmfWriter w = TextPage();
  w.Record(RecordType::ExtCreateFontIndirectW, FontRecord(1, u"Arial", -20)).UseHandle(1).SelectObject(1);
  w.Record(RecordType::SmallTextOut, r);
  const Played p = Play(w);
  EXPECT_EQ(Count(p.report, RecordType::SmallTextOut, &RecordCounts::played), 1u);
  ASSERT_FALSE(InkBox(p.image).isEmpty());
  EXPECT_EQ(p.image, Direct(u"Wax", {10, 50}, {}));
}

TEST(PlayText, ReplacedFacesAreReported) {
  EmfWriter w = TextPage();
  w.Record(RecordType::ExtCreateFontIndirectW, FontRecord(1, u"Verdana", -20)).UseHandle(1).SelectObject(1);
  w.Record(RecordType::ExtTextOutW, TextRecord({10, 50}, Utf16Bytes(u"Ab"), 2, std::vector<std::int32_t>{14, 14}));
  w.Record(RecordType::ExtTextOutW, TextRecord({10, 80}, Utf16Bytes(u"Ab"), 2, std::vector<std::int32_t>{14, 14}));
  const Played p = Play(w);
  auto it = p.report.notes.find("font replaced: Verdana");
  ASSERT_NE(it, p.report.notes.end());
  EXPECT_EQ(it->second, 2u);
  // The stand-ins of the Microsoft faces are matches, not replacements.
  EmfWriter arial = TextPage();
  arial.Record(RecordType::ExtCreateFontIndirectW, FontRecord(1, u"Arial", -20)).UseHandle(1).SelectObject(1);
  arial.Record(RecordType::ExtTextOutW, TextRecord({10, 50}, Utf16Bytes(u"Ab"), 2, std::vector<std::int32_t>{14, 14}));
  EXPECT_TRUE(Play(arial).report.notes.empty());
}

}  // namespace
}  // namespace pw::gdi
