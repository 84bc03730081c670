#include <gtest/gtest.h>

#include "pages/page_set.h"
#include "tests/load/load_fixtures.h"

namespace pw::pages {
namespace {

TEST(PageSet, CurrentPageIsMinusOneOrACountedPage) {
  test::ResetPageSet();
  PageSet& pages = Pages();
  EXPECT_EQ(pages.Current(), -1);
  EXPECT_FALSE(pages.SetCurrent(0));  // nothing counted yet
  pages.Record(0).file_name = "0001.emf";
  pages.Record(1).file_name = "0002.emf";
  pages.SetCount(2);
  EXPECT_TRUE(pages.SetCurrent(1));
  EXPECT_EQ(pages.Current(), 1);
  EXPECT_FALSE(pages.SetCurrent(2));
  EXPECT_FALSE(pages.SetCurrent(-2));
  EXPECT_EQ(pages.Current(), 1);
  EXPECT_TRUE(pages.SetCurrent(-1));
  test::ResetPageSet();
}

TEST(PageSet, LoadingNeverLowersAReadyPage) {
  test::ResetPageSet();
  PageSet& pages = Pages();
  pages.MarkBusy();
  EXPECT_EQ(pages.State(), RenderingState::Busy);
  pages.SetState(RenderingState::Ready);
  pages.MarkBusy();
  EXPECT_EQ(pages.State(), RenderingState::Ready);
  test::ResetPageSet();
}

TEST(PageSet, ClearReleasesEveryRecord) {
  test::ResetPageSet();
  PageSet& pages = Pages();
  for (int i = 0; i < 3; ++i) {
    pages.Record(i).file_name = "x.emf";
    pages.Record(i).thumbnail = QImage(10, 10, QImage::Format_RGB32);
    pages.Record(i).thumb_width = 10;
  }
  pages.SetCount(3);
  pages.SetCurrent(2);
  pages.Clear();
  EXPECT_EQ(pages.Count(), 0);
  EXPECT_EQ(pages.Current(), -1);
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(pages.Record(i).file_name.empty());
    EXPECT_TRUE(pages.Record(i).thumbnail.isNull());
    EXPECT_EQ(pages.Record(i).thumb_width, 0);
  }
}

TEST(PageSet, TableHoldsTwoThousandPages) {
  PageSet& pages = Pages();
  pages.Record(kMaxPages - 1).file_name = "last.emf";
  EXPECT_EQ(pages.Record(kMaxPages - 1).file_name, "last.emf");
  test::ResetPageSet();
  pages.Record(kMaxPages - 1) = PageRecord{};
}

}  // namespace
}  // namespace pw::pages
