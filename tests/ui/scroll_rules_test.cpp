// Scrolling as values: the page view's bars and positions, the thumbnail
// strip's range, requests, hits and captions.
#include "ui/strip_rules.h"
#include "ui/view_scroll.h"

#include <gtest/gtest.h>

#include <vector>

namespace pw::ui {
namespace {

constexpr int kBar = 12;

TEST(ViewScrollRules, SmallImageIsCentredWithBothBarsHidden) {
  const ViewBars bars = FitBars(QSize(300, 200), QSize(620, 561), ViewBars{}, kBar);
  EXPECT_FALSE(bars.horizontal.shown);
  EXPECT_FALSE(bars.vertical.shown);
  EXPECT_EQ(ImageOrigin(QSize(300, 200), QSize(620, 561), bars), QPoint(160, 180));
}

TEST(ViewScrollRules, OverhangInOneDirectionShowsOnlyThatBarTenPixelsBeyond) {
  // Taller than the view: the vertical bar, over the full view height.
  const ViewBars tall = FitBars(QSize(400, 1000), QSize(620, 561), ViewBars{}, kBar);
  EXPECT_TRUE(tall.vertical.shown);
  EXPECT_FALSE(tall.horizontal.shown);
  EXPECT_EQ(tall.vertical.maximum, 1000 - 561 + 10);
  // Still centred across, drawn from the top.
  EXPECT_EQ(ImageOrigin(QSize(400, 1000), QSize(620, 561), tall), QPoint(110, 0));

  // Wider: the horizontal bar, and the maximum counts the client width
  // after the bar is shown (no vertical bar here, so the whole width).
  const ViewBars wide = FitBars(QSize(900, 300), QSize(620, 561), ViewBars{}, kBar);
  EXPECT_TRUE(wide.horizontal.shown);
  EXPECT_FALSE(wide.vertical.shown);
  EXPECT_EQ(wide.horizontal.maximum, 900 - 620 + 10);
}

TEST(ViewScrollRules, BarsSettleTogether) {
  // Taller than the view, and 5 pixels narrower than it: once the vertical
  // bar takes its 12 pixels the image overhangs across as well.
  const ViewBars bars = FitBars(QSize(615, 1000), QSize(620, 561), ViewBars{}, kBar);
  EXPECT_TRUE(bars.vertical.shown);
  ASSERT_TRUE(bars.horizontal.shown);
  EXPECT_EQ(bars.horizontal.maximum, 615 - 608 + 10);
  EXPECT_EQ(bars.vertical.maximum, 1000 - 549 + 10);

  // Both bars shown before, and the next page fits into the whole view:
  // neither bar may keep the other alive.
  const ViewBars fits = FitBars(QSize(615, 555), QSize(620, 561), bars, kBar);
  EXPECT_FALSE(fits.horizontal.shown);
  EXPECT_FALSE(fits.vertical.shown);
  EXPECT_EQ(fits.vertical.position, 0);
}

TEST(ViewScrollRules, PositionsAreClampedToTheNewRange) {
  ViewBars scrolled = FitBars(QSize(400, 3000), QSize(620, 561), ViewBars{}, kBar);
  scrolled.vertical.position = scrolled.vertical.maximum;
  // The view grows: the old position lies beyond the new maximum.
  const ViewBars grown = FitBars(QSize(400, 3000), QSize(620, 2800), scrolled, kBar);
  EXPECT_EQ(grown.vertical.maximum, 3000 - 2800 + 10);
  EXPECT_EQ(grown.vertical.position, grown.vertical.maximum);
  // A position within the new range stays where it was.
  scrolled.vertical.position = 50;
  EXPECT_EQ(FitBars(QSize(400, 3000), QSize(620, 2800), scrolled, kBar).vertical.position, 50);
}

TEST(ViewScrollRules, RequestsMoveByLinesOfHundredAndPagesToTheEnds) {
  const ScrollAxis axis{true, 250, 120};
  EXPECT_EQ(ViewScrollPosition(ScrollRequest::LineUp, axis), 20);
  EXPECT_EQ(ViewScrollPosition(ScrollRequest::LineDown, axis), 220);
  EXPECT_EQ(ViewScrollPosition(ScrollRequest::LineDown, ScrollAxis{true, 250, 200}), 250);
  EXPECT_EQ(ViewScrollPosition(ScrollRequest::LineUp, ScrollAxis{true, 250, 30}), 0);
  EXPECT_EQ(ViewScrollPosition(ScrollRequest::PageUp, axis), 0);
  EXPECT_EQ(ViewScrollPosition(ScrollRequest::PageDown, axis), 250);
  EXPECT_EQ(ViewScrollPosition(ScrollRequest::ThumbTrack, axis, 77), 77);
  EXPECT_EQ(ViewScrollPosition(ScrollRequest::ThumbTrack, axis, 900), 250);
  EXPECT_EQ(ViewScrollPosition(ScrollRequest::Top, axis), 120);
  EXPECT_EQ(ViewScrollPosition(ScrollRequest::Bottom, axis), 120);
}

std::vector<ThumbBox> ThreeThumbs() {
  // As the load places them in a 156-wide strip: 92 x 130 portrait pages.
  return {{32, 10, 92, 130}, {32, 164, 92, 130}, {32, 318, 92, 130}};
}

TEST(StripScrollRules, MaximumStandsHalfTheLastThumbnailBelowTheBottom) {
  const ThumbBox last = ThreeThumbs().back();
  EXPECT_EQ(StripScrollMaximum(last, 200), 318 - 200 + 195);
  EXPECT_EQ(StripScrollMaximum(ThumbBox{0, 10, 90, 91}, 100), static_cast<int>(10 - 100 + 136.5));
}

TEST(StripScrollRules, LineUpMovesTwiceAsFarAsLineDown) {
  const StripScroll down = ScrollStrip(ScrollRequest::LineDown, 200, 1000, 0, 100);
  EXPECT_TRUE(down.changed);
  EXPECT_EQ(down.position, 250);
  EXPECT_EQ(ScrollStrip(ScrollRequest::LineUp, 200, 1000, 0, 100).position, 100);
  EXPECT_EQ(ScrollStrip(ScrollRequest::LineUp, 60, 1000, 0, 100).position, 0);
  EXPECT_EQ(ScrollStrip(ScrollRequest::PageUp, 500, 1000, 0, 100).position, 200);
  EXPECT_FALSE(ScrollStrip(ScrollRequest::LineUp, 0, 1000, 0, 100).changed);
  EXPECT_FALSE(ScrollStrip(ScrollRequest::Top, 500, 1000, 0, 100).changed);
}

TEST(StripScrollRules, PagingDownStopsExactlyAtTheMaximum) {
  const StripScroll step = ScrollStrip(ScrollRequest::PageDown, 850, 1000, 0, 100);
  EXPECT_EQ(step.position, 1000);
  EXPECT_EQ(step.position - 850, 150);
  EXPECT_EQ(step.bar_position, 100);
  const StripScroll again = ScrollStrip(ScrollRequest::PageDown, 1000, 1000, 0, 100);
  EXPECT_FALSE(again.changed);
  EXPECT_EQ(again.position, 1000);
  EXPECT_EQ(ScrollStrip(ScrollRequest::LineDown, 990, 1000, 0, 100).position, 1000);
}

TEST(StripScrollRules, ThumbMapsTheBarRangeOntoThePixels) {
  // Range 0 .. 30 (three pages) over a maximum of 450: 15 pixels a step.
  const StripScroll thumb = ScrollStrip(ScrollRequest::ThumbTrack, 0, 450, 0, 30, 10);
  EXPECT_EQ(thumb.position, 150);
  EXPECT_EQ(thumb.bar_position, 10);
  EXPECT_EQ(ScrollStrip(ScrollRequest::ThumbTrack, 0, 450, 0, 30, 30).position, 450);
}

TEST(StripScrollRules, NothingToScrollDividesByNothing) {
  // No pages: the load has set no range, and the maximum is not positive.
  const StripScroll empty = ScrollStrip(ScrollRequest::ThumbTrack, 0, 0, 0, 0, 5);
  EXPECT_EQ(empty.position, 0);
  EXPECT_EQ(empty.bar_position, 0);
  const StripScroll fits = ScrollStrip(ScrollRequest::ThumbTrack, 0, -80, 0, 10, 5);
  EXPECT_EQ(fits.position, 0);
  EXPECT_EQ(fits.bar_position, 0);
  EXPECT_FALSE(ScrollStrip(ScrollRequest::LineDown, 0, -80, 0, 10).changed);
}

TEST(StripScrollRules, HitsCountTheEdgesAndTheScrollPosition) {
  const std::vector<ThumbBox> thumbs = ThreeThumbs();
  EXPECT_EQ(ThumbnailAt(thumbs, QPoint(32, 10), 0), 0);
  EXPECT_EQ(ThumbnailAt(thumbs, QPoint(124, 140), 0), 0);
  EXPECT_EQ(ThumbnailAt(thumbs, QPoint(60, 150), 0), std::nullopt) << "the caption is no hit";
  EXPECT_EQ(ThumbnailAt(thumbs, QPoint(31, 50), 0), std::nullopt);
  // Scrolled by 154, the second thumbnail stands where the first did.
  EXPECT_EQ(ThumbnailAt(thumbs, QPoint(60, 20), 154), 1);
  EXPECT_EQ(ThumbnailAt(thumbs, QPoint(60, 318), 0), 2);
}

TEST(StripScrollRules, CaptionIsThePageNumberNeverReadOutsideTheName) {
  EXPECT_EQ(ThumbnailCaption("0001.emf"), "0001");
  EXPECT_EQ(ThumbnailCaption("50003.emf"), "0003");
  EXPECT_EQ(ThumbnailCaption("1230012.emf"), "0012");
  EXPECT_EQ(ThumbnailCaption("7.emf"), "7");
  EXPECT_EQ(ThumbnailCaption(".emf"), "");
  EXPECT_EQ(ThumbnailCaption("a"), "");
  EXPECT_EQ(ThumbnailCaption(""), "");
}

TEST(StripScrollRules, PagesUpWhenTheLastThumbnailLeavesTheTop) {
  const ThumbBox last = ThreeThumbs().back();  // lower edge at 448
  EXPECT_FALSE(StripNeedsPageUp(last, 437, 0));
  EXPECT_TRUE(StripNeedsPageUp(last, 438, 0));
  EXPECT_TRUE(StripNeedsPageUp(last, 600, 0));
}

}  // namespace
}  // namespace pw::ui
