// The frame's rules as values: layout and regions, the status text, the
// wheel, next and previous page.
#include "settings/settings_record.h"
#include "ui/frame_layout.h"
#include "ui/page_step.h"
#include "ui/status_line.h"
#include "ui/wheel_target.h"

#include <gtest/gtest.h>

namespace pw::ui {
namespace {

TEST(FrameLayoutRules, NormalLayoutPlacesViewStripAndButtons) {
  const FrameLayout layout = LayoutFrame(QSize(800, 600), QSize(0, 0));
  EXPECT_FALSE(layout.narrow);
  EXPECT_TRUE(layout.page_view_shown);
  EXPECT_FALSE(layout.resize_frame);
  EXPECT_EQ(layout.page_view, QRect(7, 7, 620, 561));
  EXPECT_EQ(layout.strip, QRect(637, 7, 156, 586));
  // The view's widget is the rectangle the frame paints around.
  const EdgeRect rect = PageViewRect(QSize(800, 600));
  EXPECT_EQ(rect.right - rect.left, layout.page_view.width());
  EXPECT_EQ(StripRect(QSize(800, 600)).left, layout.strip.x());
  EXPECT_EQ(ButtonGeometry(0), QRect(0, 45, 43, 32));
  EXPECT_EQ(ButtonGeometry(4), QRect(0, 181, 43, 32));
  EXPECT_EQ(ButtonGeometry(5), QRect(0, 227, 43, 32));
  EXPECT_EQ(ButtonGeometry(6), QRect(0, 261, 43, 32));
}

TEST(FrameLayoutRules, ViewRegionLeavesEveryButtonVisible) {
  const FrameLayout layout = LayoutFrame(QSize(800, 600), QSize(0, 0));
  for (int i = 0; i < kButtonCount; ++i) {
    // The button in page view coordinates (the view sits at (7, 7)).
    const QRect button = ButtonGeometry(i).translated(-7, -7).intersected(QRect(0, 0, 39, 3000));
    EXPECT_FALSE(layout.page_view_mask.intersects(button)) << "button " << i;
  }
  // The view is whole right of the buttons and below the last of them.
  EXPECT_TRUE(layout.page_view_mask.contains(QPoint(39, 100)));
  EXPECT_TRUE(layout.page_view_mask.contains(QPoint(0, 300)));
  EXPECT_TRUE(layout.page_view_mask.contains(QPoint(10, 212)));
  EXPECT_TRUE(layout.strip_mask.isEmpty());
}

TEST(FrameLayoutRules, NarrowLayoutBelow183PixelsShowsOnlyTheStrip) {
  const FrameLayout wide = LayoutFrame(QSize(183, 600), QSize(0, 0));
  EXPECT_FALSE(wide.narrow);
  EXPECT_TRUE(wide.page_view_shown);

  const FrameLayout narrow = LayoutFrame(QSize(182, 600), QSize(0, 0));
  EXPECT_TRUE(narrow.narrow);
  EXPECT_FALSE(narrow.page_view_shown);
  EXPECT_FALSE(narrow.resize_frame) << "already 182 wide: no resize, so no resize loop";
  EXPECT_EQ(narrow.strip, QRect(7, 7, 153, 586));
  EXPECT_FALSE(narrow.strip_mask.isEmpty());
  EXPECT_EQ(LayoutFrame(QSize(182, 600), QSize(0, 0), 16).strip.width(), 156);

  // Narrower still: the outer frame becomes 182 wide, counting its borders.
  const FrameLayout squeezed = LayoutFrame(QSize(120, 600), QSize(8, 31));
  ASSERT_TRUE(squeezed.resize_frame);
  EXPECT_EQ(squeezed.resize_frame->width(), 182);
  EXPECT_EQ(squeezed.resize_frame->height(), 631);
  // Once the frame has that width its client (174) keeps the narrow layout
  // and asks for nothing more.
  const FrameLayout settled = LayoutFrame(QSize(174, 600), QSize(8, 31));
  EXPECT_TRUE(settled.narrow);
  EXPECT_FALSE(settled.resize_frame);
}

TEST(FrameLayoutRules, MinimumHeightCountsTheRealWindowFrame) {
  // A 31-pixel frame: raised to 402 outside leaves 371 inside.
  const FrameLayout low = LayoutFrame(QSize(800, 300), QSize(8, 31));
  ASSERT_TRUE(low.resize_frame);
  EXPECT_EQ(*low.resize_frame, QSize(808, 402));
  EXPECT_EQ(low.client_height, 371);
  EXPECT_EQ(low.page_view.height(), 371 - 39);
  EXPECT_EQ(LayoutFrame(QSize(800, 402), QSize(8, 31)).client_height, 371);
  // Another window manager's frame of 22 pixels leaves 380, and the second
  // size event (380) settles without a further resize.
  EXPECT_EQ(LayoutFrame(QSize(800, 300), QSize(0, 22)).client_height, 380);
  EXPECT_FALSE(LayoutFrame(QSize(800, 380), QSize(0, 22)).resize_frame);
  // Without a frame the client is the window: 402, and no resize at 402.
  EXPECT_FALSE(LayoutFrame(QSize(800, 402), QSize(0, 0)).resize_frame);
  // Above the minimum nothing changes.
  const FrameLayout tall = LayoutFrame(QSize(800, 403), QSize(8, 31));
  EXPECT_FALSE(tall.resize_frame);
  EXPECT_EQ(tall.client_height, 403);
}

TEST(StatusLineRules, TextCarriesPageSizesResolutionAndFormat) {
  StatusFacts facts;
  facts.being_rendered = 1;
  facts.page_count = 3;
  facts.image_kb = 154;
  facts.columns = 827;
  facts.rows = 1170;
  facts.resolution = 100;
  facts.format_name = "PNG";
  // 827 / 3.937 = 210.06 -> 211 mm; 1170 / 3.937 = 297.18 -> 298 mm.
  EXPECT_EQ(StatusText(facts), "2(3): 154 KB, 827x1170 pixels, 211x298 mm, 100 dpi, PNG");

  facts.page_count = 1;  // the load has not counted the page yet
  facts.resolution = 96.4;
  EXPECT_EQ(StatusText(facts).substr(0, 5), "2(2):");
  EXPECT_NE(StatusText(facts).find(" 97 dpi"), std::string::npos);

  facts.resolution = 0;  // never a real resolution, but no division by zero
  EXPECT_NE(StatusText(facts).find("827x1170 pixels, 0x0 mm, 0 dpi"), std::string::npos);
}

TEST(StatusLineRules, ARunsProgressLeadsTheLineAndGoesWithTheRun) {
  EXPECT_EQ(RunProgressText(1, 3), "Writing page 2 of 3");
  const std::string status = "2(3): 154 KB, 827x1170 pixels, 211x298 mm, 100 dpi, PNG";
  EXPECT_EQ(StatusLineText(status, "", true), status);
  EXPECT_EQ(StatusLineText(status, "", false), "");
  EXPECT_EQ(StatusLineText(status, "Writing page 2 of 3", true), "Writing page 2 of 3  |  " + status);
  // A narrow line has no room for the status text, but the run still shows.
  EXPECT_EQ(StatusLineText(status, "Writing page 2 of 3", false), "Writing page 2 of 3");
}

TEST(StatusLineRules, SeriesFormatIsTheFirstFlagThatIsOnElseBmp) {
  settings::Settings s;
  s.JPG_Default = false;
  EXPECT_EQ(SeriesFormatName(s), "BMP");
  s.TIF_Default = true;
  EXPECT_EQ(SeriesFormatName(s), "TIF");
  s.GIF_Default = true;
  EXPECT_EQ(SeriesFormatName(s), "GIF");
  s.JPG_Default = true;
  EXPECT_EQ(SeriesFormatName(s), "JPEG");
}

TEST(StatusLineRules, TextOnlyFrom631Pixels) {
  EXPECT_FALSE(ShowsStatusText(630));
  EXPECT_TRUE(ShowsStatusText(631));
}

TEST(WheelRules, RightHand170PixelsScrollTheStripEvenOverTheStatusLine) {
  const QSize client(800, 600);
  EXPECT_EQ(WheelTargetAt(QPoint(630, 300), client, true, true), WheelTarget::Strip);
  EXPECT_EQ(WheelTargetAt(QPoint(800, 590), client, true, true), WheelTarget::Strip);
  EXPECT_EQ(WheelTargetAt(QPoint(629, 300), client, true, true), WheelTarget::ViewVertical);
  EXPECT_EQ(WheelTargetAt(QPoint(300, 553), client, true, true), WheelTarget::ViewVertical);
  EXPECT_EQ(WheelTargetAt(QPoint(300, 554), client, true, true), WheelTarget::ViewHorizontal);
  // A bar that is hidden scrolls nothing.
  EXPECT_EQ(WheelTargetAt(QPoint(300, 300), client, false, true), WheelTarget::None);
  EXPECT_EQ(WheelTargetAt(QPoint(300, 580), client, true, false), WheelTarget::None);
  EXPECT_EQ(WheelTargetAt(QPoint(900, 300), client, true, true), WheelTarget::None);
}

TEST(PageStepRules, NextAndPreviousStopAtTheEndsWithoutRendering) {
  EXPECT_EQ(NextPage(0, 3).index, 1);
  EXPECT_TRUE(NextPage(0, 3).render);
  EXPECT_EQ(NextPage(2, 3).index, 2);
  EXPECT_FALSE(NextPage(2, 3).render);
  EXPECT_EQ(PreviousPage(1, 3).index, 0);
  EXPECT_TRUE(PreviousPage(1, 3).render);
  EXPECT_EQ(PreviousPage(0, 3).index, 0);
  EXPECT_FALSE(PreviousPage(0, 3).render);
}

TEST(PageStepRules, WithNoPagesTheIndexStaysMinusOne) {
  EXPECT_EQ(PreviousPage(-1, 0).index, -1);
  EXPECT_FALSE(PreviousPage(-1, 0).render);
  EXPECT_EQ(NextPage(-1, 0).index, -1);
  EXPECT_FALSE(NextPage(-1, 0).render);
  // Pages arrived while none was current yet: next shows the first.
  EXPECT_EQ(NextPage(-1, 2).index, 0);
  EXPECT_TRUE(NextPage(-1, 2).render);
}

}  // namespace
}  // namespace pw::ui
