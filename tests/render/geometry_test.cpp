#include <gtest/gtest.h>

#include "render/band_plan.h"
#include "render/current_resolution.h"
#include "render/page_geometry.h"
#include "render/render_options.h"

namespace pw::render {
namespace {

constexpr Frame kA4{0, 0, 21000, 29700};

TEST(PageGeometry, HalfScaleA4At100DpiKeepsThePageSizeInMillimetres) {
  const PageGeometry g = ComputePageGeometry(kA4, 100.0, 50, false);
  EXPECT_EQ(g.columns, 414);
  EXPECT_EQ(g.rows, 585);
  EXPECT_EQ(g.width_mm, 210);
  EXPECT_EQ(g.height_mm, 297);
}

TEST(PageGeometry, ThumbnailIgnoresThePageScale) {
  const PageGeometry scaled = ComputePageGeometry(kA4, 50.0, 200, false);
  const PageGeometry thumb = ComputePageGeometry(kA4, 50.0, 200, true);
  EXPECT_EQ(scaled.columns, 827);  // ceil(42000 x 50 / 2540)
  EXPECT_EQ(thumb.columns, 414);
  EXPECT_EQ(thumb.rows, 585);
  EXPECT_EQ(thumb.width_mm, 210);
}

TEST(PageGeometry, ResolutionOfZeroOrLessSizesAt72Dpi) {
  for (double dpi : {0.0, -5.0}) {
    const PageGeometry g = ComputePageGeometry(kA4, dpi, 100, false);
    EXPECT_EQ(g.columns, 596);  // ceil(595.27)
    EXPECT_EQ(g.rows, 842);     // ceil(841.89)
  }
}

TEST(PageGeometry, MillimetresAndPixelsRoundUp) {
  const PageGeometry g = ComputePageGeometry(Frame{100, 200, 100 + 20001, 200 + 2500}, 10.0, 100, false);
  EXPECT_EQ(g.width_mm, 201);
  EXPECT_EQ(g.height_mm, 25);
  EXPECT_EQ(g.columns, 79);  // 20001 x 10 / 2540 = 78.74
  EXPECT_EQ(g.rows, 10);     // 9.84
}

TEST(PageGeometry, PageWithoutMetafileIsThePlaceholder) {
  const PageGeometry g = ComputePageGeometry(std::nullopt, 300.0, 100, false);
  EXPECT_EQ(g.columns, 250);
  EXPECT_EQ(g.rows, 200);
  EXPECT_FALSE(g.width_mm.has_value());
  EXPECT_TRUE(g.Drawable());
}

TEST(PageGeometry, HugeOrEmptyPagesAreNotDrawable) {
  EXPECT_FALSE(ComputePageGeometry(Frame{0, 0, 0, 29700}, 96.0, 100, false).Drawable());
  EXPECT_FALSE(ComputePageGeometry(Frame{0, 0, -500, 29700}, 96.0, 100, false).Drawable());
  const Frame vast{-2'000'000'000, -2'000'000'000, 2'000'000'000, 2'000'000'000};
  const PageGeometry g = ComputePageGeometry(vast, 96.0, 100, false);
  EXPECT_FALSE(g.Drawable());
  EXPECT_GT(g.columns, 0);
}

TEST(PageGeometry, ThePageBoundThatIsHitIsTheOneNamed) {
  // At 96 dpi, 2540 units of frame are 96 pixels.
  const auto at = [](long long columns, long long rows) {
    return ComputePageGeometry(Frame{0, 0, static_cast<int>(columns * 2540 / 96), static_cast<int>(rows * 2540 / 96)},
                               96.0, 100, false);
  };
  const PageGeometry widest = at(15936, 96);
  EXPECT_LE(widest.columns, kMaxPageSide);
  EXPECT_FALSE(widest.Problem());
  const PageGeometry too_wide = at(16032, 96);
  ASSERT_GT(too_wide.columns, kMaxPageSide);
  EXPECT_EQ(too_wide.Problem(), limits::kPageSide.message);
  const PageGeometry too_many = at(9600, 4800);  // both sides fit, 4.6e7 pixels do not
  ASSERT_LE(too_many.rows, kMaxPageSide);
  EXPECT_EQ(too_many.Problem(), limits::kPagePixels.message);
  EXPECT_EQ(at(0, 96).Problem(), "The page has no area.");
}

TEST(PageGeometry, ResolutionAboveTheCeilingSizesAtTheCeiling) {
  const Frame card{0, 0, 5000, 5000};
  const PageGeometry at = ComputePageGeometry(card, kMaxResolution, 100, false);
  const PageGeometry beyond = ComputePageGeometry(card, 1e9, 100, false);
  EXPECT_EQ(at.columns, 4725);
  EXPECT_EQ(at.columns, beyond.columns);
  EXPECT_EQ(at.rows, beyond.rows);
  EXPECT_TRUE(beyond.Drawable());
}

TEST(RenderOptions, OutOfRangeValuesAreBroughtIntoRange) {
  RenderOptions o;
  o.KodAntialias = 500;
  o.ScaleCur = 0;
  o.background.lvHatchDepress = 0;
  o.background.lvHatchWidth = -3;
  RenderOptions c = Clamped(o);
  EXPECT_EQ(c.KodAntialias, 20);
  EXPECT_EQ(c.ScaleCur, 1);
  EXPECT_EQ(c.background.lvHatchDepress, 1);
  EXPECT_EQ(c.background.lvHatchWidth, 0);
  o.KodAntialias = -1;
  o.ScaleCur = 1'000'000;
  c = Clamped(o);
  EXPECT_EQ(c.KodAntialias, 0);
  EXPECT_EQ(c.ScaleCur, 300);
  // Values inside the ranges pass unchanged.
  o = RenderOptions{};
  o.KodAntialias = 7;
  o.ScaleCur = 150;
  c = Clamped(o);
  EXPECT_EQ(c.KodAntialias, 7);
  EXPECT_EQ(c.ScaleCur, 150);
  EXPECT_EQ(c.background.lvHatchDepress, 8);
}

TEST(CurrentResolution, FollowsTheChoice) {
  ResolutionChoice c;
  c.display_dpi = 110;
  c.printer_dpi = 600;
  c.ResCur = 123.4;
  c.CheckN = 0;
  EXPECT_EQ(CurrentResolution(c), 110.0);
  c.CheckN = 1;
  EXPECT_EQ(CurrentResolution(c), 600.0);
  c.CheckN = 2;
  EXPECT_DOUBLE_EQ(CurrentResolution(c), 123.4);
  for (int other : {3, -1, 99}) {
    c.CheckN = other;
    EXPECT_EQ(CurrentResolution(c), 100.0) << other;
  }
}

TEST(CurrentResolution, QuickStartReferenceTakes80ForTheCustomChoiceOnly) {
  ResolutionChoice c;
  c.quick_start = true;
  c.ResCur = 300.0;
  c.CheckN = 2;
  EXPECT_EQ(CurrentResolution(c), 80.0);
  c.CheckN = 0;
  EXPECT_EQ(CurrentResolution(c), 96.0);
}

}  // namespace
}  // namespace pw::render
