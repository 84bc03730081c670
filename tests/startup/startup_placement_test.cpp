// Where the main window opens, from the stored placement and the size of a
// maximized window.
#include "app/startup_placement.h"

#include <gtest/gtest.h>

namespace pw::app {
namespace {

constexpr WindowSize kScreen{1280, 994};

StoredPlacement Edges(int left, int top, int right, int bottom) {
  StoredPlacement stored;
  stored.left = left;
  stored.top = top;
  stored.right = right;
  stored.bottom = bottom;
  return stored;
}

void ExpectEdges(const Placement& placement, int left, int top, int right, int bottom) {
  EXPECT_EQ(placement.left, left);
  EXPECT_EQ(placement.top, top);
  EXPECT_EQ(placement.right, right);
  EXPECT_EQ(placement.bottom, bottom);
}

TEST(StartupPlacement, NothingStoredGives85By80PercentCentred) {
  const Placement placement = ComputePlacement(StoredPlacement{}, kScreen);
  // 0.85 x 1280 = 1088, 0.8 x 994 = 795.2, truncated.
  ExpectEdges(placement, 0, 0, 1088, 795);
  EXPECT_FALSE(placement.maximized);
  EXPECT_TRUE(placement.centred());
}

TEST(StartupPlacement, FractionsAreTruncatedNotRounded) {
  const Placement placement = ComputePlacement(StoredPlacement{}, WindowSize{1279, 1023});
  // 1087.15 and 818.4
  EXPECT_EQ(placement.width(), 1087);
  EXPECT_EQ(placement.height(), 818);
}

TEST(StartupPlacement, BottomBelowOneMeansNothingStoredWhateverTheOtherEdges) {
  for (int bottom : {-1, 0}) {
    const Placement placement = ComputePlacement(Edges(300, 200, 900, bottom), kScreen);
    ExpectEdges(placement, 0, 0, 1088, 795);
  }
}

TEST(StartupPlacement, MaximizedIgnoresStoredEdges) {
  StoredPlacement stored = Edges(300, 200, 900, 700);
  stored.main_win_max = 1;
  const Placement placement = ComputePlacement(stored, kScreen);
  ExpectEdges(placement, 0, 0, 1280, 994);
  EXPECT_TRUE(placement.maximized);
  EXPECT_FALSE(placement.centred());  // shown maximized instead
  // Any non-zero flag counts.
  stored.main_win_max = 7;
  EXPECT_TRUE(ComputePlacement(stored, kScreen).maximized);
}

TEST(StartupPlacement, StoredPositionIsUsedAsItIs) {
  const Placement placement = ComputePlacement(Edges(120, 80, 920, 680), kScreen);
  ExpectEdges(placement, 120, 80, 920, 680);
  EXPECT_FALSE(placement.centred());
}

TEST(StartupPlacement, StoredPositionAtTheOriginIsCentred) {
  const Placement placement = ComputePlacement(Edges(0, 0, 800, 600), kScreen);
  ExpectEdges(placement, 0, 0, 800, 600);
  EXPECT_TRUE(placement.centred());
}

TEST(StartupPlacement, EdgesBeyondTheScreenAreCut) {
  ExpectEdges(ComputePlacement(Edges(100, 50, 1500, 600), kScreen), 100, 50, 1280, 600);
  ExpectEdges(ComputePlacement(Edges(100, 50, 900, 1200), kScreen), 100, 50, 900, 994);
}

TEST(StartupPlacement, NegativeLeftAndTopBecomeZero) {
  const Placement placement = ComputePlacement(Edges(-40, -8, 700, 500), kScreen);
  ExpectEdges(placement, 0, 0, 700, 500);
  // At the origin now, so centred like any window stored there.
  EXPECT_TRUE(placement.centred());
  ExpectEdges(ComputePlacement(Edges(-40, 30, 700, 500), kScreen), 0, 30, 700, 500);
}

TEST(StartupPlacement, EdgesFromALargerScreenThatLeaveNoWindowFallBackToTheDefault) {
  // Left beyond the cut right edge: the window would have no width.
  ExpectEdges(ComputePlacement(Edges(2000, 100, 2600, 700), kScreen), 0, 0, 1088, 795);
  // Top beyond the cut bottom edge.
  ExpectEdges(ComputePlacement(Edges(10, 1500, 600, 1900), kScreen), 0, 0, 1088, 795);
}

}  // namespace
}  // namespace pw::app
