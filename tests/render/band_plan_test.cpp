#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "render/band_plan.h"

namespace pw::render {
namespace {

// Every plan covers the drawing rows once, in order, in full bands but the last.
void ExpectCovers(const BandPlan& plan) {
  int next = 0;
  for (std::size_t k = 0; k < plan.bands.size(); ++k) {
    const Band& band = plan.bands[k];
    EXPECT_EQ(band.index, static_cast<int>(k));
    EXPECT_EQ(band.offset, next);
    EXPECT_GE(band.height, 1);
    if (k + 1 < plan.bands.size()) {
      EXPECT_EQ(band.height, plan.band_height);
    }
    EXPECT_EQ(band.height % plan.factor, 0);
    next += band.height;
  }
  EXPECT_EQ(next, plan.total_height);
}

TEST(BandPlan, BaseRowsFollowTheFactorTable) {
  const int expected[21] = {200, 200, 200, 200, 100, 100, 80, 80, 60, 60, 40,
                            40,  20,  20,  20,  20,  20,  20, 20, 20, 20};
  for (int f = 0; f <= 20; ++f) EXPECT_EQ(BandBase(f), expected[f]) << "factor " << f;
}

TEST(BandPlan, ExactMultipleOfTheBandHeightDrawsNoTrailingBand) {
  const BandPlan off = PlanBands(100, 400, 1);
  EXPECT_EQ(off.band_height, 200);
  EXPECT_EQ(off.nominal_count, 3);
  EXPECT_EQ(off.bands.size(), 2u);
  ExpectCovers(off);

  const BandPlan f3 = PlanBands(50, 600, 3);  // 1800 rows in bands of 600
  EXPECT_EQ(f3.band_height, 600);
  EXPECT_EQ(f3.bands.size(), 3u);
  ExpectCovers(f3);
}

TEST(BandPlan, RemainderGoesToTheLastBand) {
  const BandPlan plan = PlanBands(10, 401, 1);
  ASSERT_EQ(plan.bands.size(), 3u);
  EXPECT_EQ(plan.bands[2].offset, 400);
  EXPECT_EQ(plan.bands[2].height, 1);
  ExpectCovers(plan);

  const BandPlan f7 = PlanBands(30, 1000, 7);  // base 80: bands of 560 rows
  EXPECT_EQ(f7.drawing_width, 210);
  EXPECT_EQ(f7.total_height, 7000);
  EXPECT_EQ(f7.band_height, 560);
  EXPECT_EQ(f7.bands.size(), 13u);
  EXPECT_EQ(f7.bands.back().height, 7000 - 12 * 560);
  ExpectCovers(f7);
}

TEST(BandPlan, FactorOneIsLikeNoSupersampling) {
  const BandPlan one = PlanBands(120, 450, 1);
  const BandPlan zero = PlanBands(120, 450, 0);
  EXPECT_EQ(one.factor, 1);
  EXPECT_EQ(zero.factor, 1);
  EXPECT_EQ(one.band_height, zero.band_height);
  EXPECT_EQ(one.bands.size(), zero.bands.size());
  EXPECT_EQ(one.drawing_width, 120);
}

TEST(BandPlan, HighFactorsUseSmallBands) {
  const BandPlan f20 = PlanBands(10, 45, 20);
  EXPECT_EQ(f20.band_height, 400);
  EXPECT_EQ(f20.bands.size(), 3u);  // 900 rows: 400, 400, 100
  ExpectCovers(f20);
}

// Slices cover each band once, in order, in whole groups of factor rows,
// none taller than allowed, and a new slice begins where each band begins.
void ExpectSlicesCover(const BandPlan& plan, const std::vector<Slice>& slices, int max_rows) {
  int next = 0;
  std::size_t band = 0;
  for (const Slice& slice : slices) {
    EXPECT_EQ(slice.offset, next);
    EXPECT_GE(slice.height, plan.factor);
    EXPECT_LE(slice.height, std::max(max_rows, plan.factor));
    EXPECT_EQ(slice.height % plan.factor, 0);
    ASSERT_LT(band, plan.bands.size());
    EXPECT_LE(slice.offset + slice.height, plan.bands[band].offset + plan.bands[band].height);
    next += slice.height;
    if (next == plan.bands[band].offset + plan.bands[band].height) ++band;
  }
  EXPECT_EQ(next, plan.total_height);
  EXPECT_EQ(band, plan.bands.size());
}

TEST(SlicePlan, BandsThatFitAreDrawnWhole) {
  // A4 at 150 dpi, factor 3: 5262 rows are 8 bands of 600 and one of 462.
  const BandPlan a4 = PlanBands(1240, 1754, 3);
  ASSERT_EQ(a4.bands.size(), 9u);
  const auto whole = PlanSlices(a4, 600);
  ASSERT_EQ(whole.size(), 9u);
  EXPECT_EQ(whole.back().offset, 4800);
  EXPECT_EQ(whole.back().height, 462);
  ExpectSlicesCover(a4, whole, 600);
  EXPECT_EQ(PlanSlices(a4, 100000).size(), 9u);  // never taller than a band
}

TEST(SlicePlan, TallBandsAreCutInWholeGroupsFromTheirOwnTop) {
  const BandPlan a4 = PlanBands(1240, 1754, 3);
  // 250 rows round down to 249: a band of 600 is 249 + 249 + 102, the last
  // band of 462 is 249 + 213.
  const auto cut = PlanSlices(a4, 250);
  ASSERT_EQ(cut.size(), 8u * 3 + 2);
  EXPECT_EQ(cut[0].height, 249);
  EXPECT_EQ(cut[2].height, 102);
  EXPECT_EQ(cut[3].offset, 600);
  EXPECT_EQ(cut.back().height, 213);
  ExpectSlicesCover(a4, cut, 250);

  const BandPlan tiny = PlanBands(10, 3, 20);  // 60 rows, one band
  const auto groups = PlanSlices(tiny, 5);      // below one group: a group each
  EXPECT_EQ(groups.size(), 3u);
  ExpectSlicesCover(tiny, groups, 5);

  EXPECT_TRUE(PlanSlices(PlanBands(10, 0, 3), 600).empty());
}

}  // namespace
}  // namespace pw::render
