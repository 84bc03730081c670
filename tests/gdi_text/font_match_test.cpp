// Face matching and the text metrics of realised fonts.
#include <QFile>
#include <gtest/gtest.h>

#include "platform/gdi/text/font_instance.h"
#include "platform/gdi/text/font_match.h"

namespace pw::gdi {
namespace {

bool WineFontsInstalled() { return QFile::exists("/usr/share/wine/fonts/tahoma.ttf"); }

FontMatch Match(const char* face, std::uint8_t charset = 0, int weight = 400, bool italic = false,
                std::uint8_t pitch_and_family = 0) {
  FontRequest r;
  r.face = QString::fromUtf8(face);
  r.charset = charset;
  r.weight = weight;
  r.italic = italic;
  r.pitch_and_family = pitch_and_family;
  return MatchFont(r);
}

TEST(FontMatch, MicrosoftFacesGetTheirMetricCompatibleStandIns) {
  struct Case {
    const char* face;
    const char* family;
  };
  const Case cases[] = {
      {"Times New Roman", "Liberation Serif"}, {"Arial", "Liberation Sans"},
      {"ARIAL", "Liberation Sans"},            {"Arial Narrow", "Liberation Sans Narrow"},
      {"Courier New", "Liberation Mono"},      {"Calibri", "Carlito"},
      {"Cambria", "Caladea"},                  {"Helvetica", "Liberation Sans"},
      {"Times", "Liberation Serif"},           {"Courier", "Liberation Mono"},
      {"Arial CE", "Liberation Sans"},         {"Carlito", "Carlito"},
  };
  for (const auto& c : cases) {
    const FontMatch m = Match(c.face);
    EXPECT_EQ(m.family.toStdString(), c.family) << c.face;
    EXPECT_TRUE(m.face_found) << c.face;
    EXPECT_FALSE(m.file.empty()) << c.face;
  }
}

TEST(FontMatch, UnknownFacesFallBackByPitchAndFamily) {
  struct Case {
    const char* face;
    std::uint8_t pitch_and_family;
    const char* family;
  };
  const Case cases[] = {
      {"Verdana", 0x22, "Liberation Sans"},   // FF_SWISS
      {"Segoe UI", 0x12, "Liberation Serif"},  // FF_ROMAN
      {"NoSuchFace", 0x31, "Liberation Mono"},  // FF_MODERN | FIXED_PITCH
      {"NoSuchFace", 0x01, "Liberation Mono"},  // FIXED_PITCH
      {"NoSuchFace", 0x52, "Liberation Sans"},  // FF_DECORATIVE
      {"", 0, "Liberation Sans"},
      {"MS Sans Serif", 0, "Liberation Sans"},
  };
  for (const auto& c : cases) {
    const FontMatch m = Match(c.face, 0, 400, false, c.pitch_and_family);
    EXPECT_EQ(m.family.toStdString(), c.family) << c.face << " pitch " << int{c.pitch_and_family};
    EXPECT_FALSE(m.face_found) << c.face;
  }
}

TEST(FontMatch, StylesPickTheMatchingFileOrAreSynthesised) {
  const FontMatch bold_italic = Match("Arial", 0, 700, true);
  EXPECT_NE(bold_italic.file.find("LiberationSans-BoldItalic"), std::string::npos) << bold_italic.file;
  EXPECT_FALSE(bold_italic.synthetic_bold);
  EXPECT_FALSE(bold_italic.synthetic_italic);
  // Liberation 2 is preferred where version 1 is installed beside it.
  EXPECT_NE(Match("Times New Roman").file.find("liberation2"), std::string::npos);
  const FontMatch semibold = Match("Cambria", 0, 600);
  EXPECT_NE(semibold.file.find("Caladea-Bold"), std::string::npos) << semibold.file;
  // FW_DONTCARE is a regular weight.
  EXPECT_NE(Match("Calibri", 0, 0).file.find("Carlito-Regular"), std::string::npos);
}

TEST(FontMatch, CharacterSetsDecideBetweenSymbolTextAndCjkFonts) {
  if (!WineFontsInstalled()) GTEST_SKIP() << "Wine's fonts are not installed";
  EXPECT_EQ(Match("Wingdings", 2).family.toStdString(), "Wingdings");
  EXPECT_TRUE(Match("Wingdings", 2).symbol);
  // A symbol-only font does not serve ANSI text; DEFAULT_CHARSET takes it.
  EXPECT_EQ(Match("Wingdings", 0).family.toStdString(), "Liberation Sans");
  EXPECT_EQ(Match("Wingdings", 1).family.toStdString(), "Wingdings");
  EXPECT_EQ(Match("Symbol", 0).family.toStdString(), "Symbol");
  // An unknown face in the symbol set gets the first symbol font.
  EXPECT_EQ(Match("Wingdings 2", 2).family.toStdString(), "Marlett");
  EXPECT_EQ(Match("Courier New", 2).family.toStdString(), "Marlett");
  EXPECT_EQ(Match("System").family.toStdString(), "Tahoma");
  EXPECT_EQ(Match("MS Shell Dlg 2").family.toStdString(), "Tahoma");
  const FontMatch tahoma_italic = Match("Tahoma", 0, 400, true);
  EXPECT_TRUE(tahoma_italic.synthetic_italic);
  const FontMatch symbol_bold = Match("Symbol", 2, 700);
  EXPECT_TRUE(symbol_bold.synthetic_bold);
  if (QFile::exists("/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf")) {
    EXPECT_EQ(Match("MS Gothic", 128).family.toStdString(), "Droid Sans Fallback");
    EXPECT_EQ(Match("Arial", 134).family.toStdString(), "Droid Sans Fallback");
  }
  EXPECT_EQ(Match("Arial", 238).charset, 238);
  EXPECT_EQ(Match("Arial", 1).charset, 0);
}

TEST(FontMatch, StandInTableIsCaseInsensitive) {
  EXPECT_EQ(StandInFamily("times new roman").toStdString(), "Liberation Serif");
  EXPECT_EQ(StandInFamily("Tms Rmn").toStdString(), "Liberation Serif");
  EXPECT_EQ(StandInFamily("Verdana").toStdString(), "Verdana");
}

// What GDI reports (TEXTMETRIC) for the stand-ins, at em heights (negative)
// and cell heights (positive), 0 being the default cell of 16.
TEST(FontMetrics, HeightsRealiseAsGdiDoes) {
  struct Case {
    const char* face;
    int height;
    int ascent;
    int descent;
  };
  const Case cases[] = {
      {"Arial", -13, 12, 3},  {"Arial", 13, 11, 3},   {"Arial", 16, 13, 3},
      {"Arial", 0, 13, 3},    {"Arial", 100, 81, 19}, {"Arial", -100, 91, 21},
      {"Times New Roman", 100, 80, 19}, {"Times New Roman", -100, 89, 22},
      {"Courier New", -100, 83, 30},    {"Calibri", -100, 95, 27},
      {"Cambria", -100, 105, 25},       {"Arial", 1, 1, 0},
      {"Cambria", -30, 31, 7},  // half pixels round down through the 16.16 em scale
  };
  for (const auto& c : cases) {
    LogFont lf;
    lf.face_name = QString::fromUtf8(c.face).toStdU16String();
    lf.height = c.height;
    lf.weight = 400;
    auto font = FontInstance::Create(lf, c.height, 0);
    ASSERT_TRUE(font) << c.face;
    EXPECT_EQ(font->metrics().ascent, c.ascent) << c.face << " " << c.height;
    EXPECT_EQ(font->metrics().descent, c.descent) << c.face << " " << c.height;
    if (c.height < 0) {
      EXPECT_EQ(font->ppem(), -c.height);
    }
  }
}

TEST(FontMetrics, APositiveCellHeightNeverGetsASizeWhoseCellIsTaller) {
  // Arial's cell is 2288 units on a 2048-unit em. A cell of 33 pixels
  // rounds to a 30-pixel em, whose cell is 33.5 pixels: GDI takes 29.
  FontFileMetrics arial;
  arial.units_per_em = 2048;
  arial.win_ascent = 1854;
  arial.win_descent = 434;
  EXPECT_EQ(PixelsPerEm(arial, 33), 29);
  EXPECT_EQ(PixelsPerEm(arial, 13), 12);  // cell 13.4: rounds to 13, kept
  const auto cell = [&](int ppem) { return (2288LL * ppem + 1024) / 2048; };
  for (int height = 2; height <= 400; ++height) {
    const int ppem = PixelsPerEm(arial, height);
    EXPECT_LE(cell(ppem), height) << height;
    EXPECT_GT(cell(ppem + 2), height) << height;  // never more than one below the rounded size
  }
  // A font file that has no VDMX table takes the same size.
  LogFont lf;
  lf.face_name = u"Arial";
  lf.height = 33;
  lf.weight = 400;
  auto font = FontInstance::Create(lf, 33, 0);
  ASSERT_TRUE(font);
  EXPECT_EQ(font->ppem(), 29);
}

TEST(FontMetrics, SmoothingFollowsQualityAndTheGaspTable) {
  LogFont lf;
  lf.face_name = u"Arial";
  lf.height = -13;
  // Liberation Sans asks for bilevel glyphs from 9 to 17 pixels per em.
  EXPECT_FALSE(FontInstance::Create(lf, -13, 0)->antialiased());
  EXPECT_TRUE(FontInstance::Create(lf, -20, 0)->antialiased());
  EXPECT_TRUE(FontInstance::Create(lf, -8, 0)->antialiased());
  lf.quality = 3;  // NONANTIALIASED_QUALITY
  EXPECT_FALSE(FontInstance::Create(lf, -20, 0)->antialiased());
  lf.quality = 4;  // ANTIALIASED_QUALITY does not override gasp
  EXPECT_FALSE(FontInstance::Create(lf, -11, 0)->antialiased());
  lf.face_name = u"Calibri";  // Carlito smooths at every size
  EXPECT_TRUE(FontInstance::Create(lf, -11, 0)->antialiased());
}

TEST(FontMetrics, WidthStretchesRelativeToTheAverageCharacter) {
  LogFont lf;
  lf.face_name = u"Arial";
  lf.height = -100;
  auto natural = FontInstance::Create(lf, -100, 0);
  ASSERT_TRUE(natural);
  const int avg = natural->metrics().avg_char_width;
  ASSERT_GT(avg, 0);
  auto wide = FontInstance::Create(lf, -100, avg * 2);
  ASSERT_TRUE(wide);
  EXPECT_NEAR(wide->width_scale(), 2.0, 0.05);
  const std::vector<quint32> glyphs = wide->GlyphsForText(u"M");
  EXPECT_NEAR(wide->Advances(glyphs)[0], 2 * natural->Advances(glyphs)[0], 2);
}

}  // namespace
}  // namespace pw::gdi
