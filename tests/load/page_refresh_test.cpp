// The page set's side of the option commands: refreshing the current page
// and drawing the thumbnails again with changed settings, and a preset run
// over the real page set.
#include <gtest/gtest.h>

#include <QColor>

#include "pages/page_render.h"
#include "pages/page_set.h"
#include "pages/thumbnails.h"
#include "settings/option_commands.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "tests/load/load_fixtures.h"
#include "tests/render/render_test_support.h"

namespace pw::pages {
namespace {

// The option host as the main window backs it, without the window.
class PageSetHost final : public settings::OptionHost {
 public:
  void SetWaitCursor(bool) override {}
  bool RefreshCurrentPage() override {
    const bool rendered = pages::RefreshCurrentPage();
    rendered_ += rendered;
    return rendered;
  }
  void ScrollPageViewToOrigin() override { ++scrolls_; }
  void RerenderThumbnails() override { pages::RerenderThumbnails(); }
  std::optional<settings::ResolutionResult> RunResolutionDialog() override { return std::nullopt; }
  bool RunImageFormatSheet(settings::ImageFormatValues&) override { return false; }
  bool RunHatchDialog() override { return false; }

  int rendered_ = 0;
  int scrolls_ = 0;
};

class PageRefreshTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::ResetPageSet();
    settings::Update([](settings::Settings& s) {
      s = settings::Settings{};
      s.KodAntialias = 0;
      s.ResCur = 20.0;
    });
  }
  void TearDown() override {
    test::ResetPageSet();
    settings::Update([](settings::Settings& s) { s = settings::Settings{}; });
  }

  void Load(int count) {
    PageSet& pages = Pages();
    for (int i = 0; i < count; ++i) {
      PageRecord& record = pages.Record(i);
      record.file_name = "000" + std::to_string(i + 1) + ".emf";
      record.metafile = render::testing::Page({0, 0, 21000, 29700});
    }
    pages.SetCount(count);
  }
};

// The colour of a thumbnail's corner pixel, which only the background reaches.
QColor Corner(int index) { return Pages().Record(index).thumbnail.pixelColor(1, 1); }

TEST_F(PageRefreshTest, CurrentPageIsRenderedAtTheCurrentResolution) {
  Load(2);
  ASSERT_TRUE(Pages().SetCurrent(1));
  EXPECT_TRUE(RefreshCurrentPage());
  const Magick::Image image = Pages().ImageOfPage(1);
  ASSERT_TRUE(image.isValid());
  // 210 mm at 20 dpi.
  EXPECT_EQ(image.columns(), 166u);
  EXPECT_EQ(Pages().State(), RenderingState::Ready);
  EXPECT_EQ(Pages().BeingRendered(), 1);
}

TEST_F(PageRefreshTest, WithoutACurrentPageNothingIsRendered) {
  Load(2);
  EXPECT_FALSE(RefreshCurrentPage());
  EXPECT_EQ(Pages().Current(), -1);
  EXPECT_EQ(Pages().State(), RenderingState::Idle);
}

TEST_F(PageRefreshTest, ThumbnailsAreDrawnAgainWithTheNewBackground) {
  Load(2);
  for (int i = 0; i < 2; ++i) Pages().Record(i).thumbnail = MakeThumbnail(i).value();
  ASSERT_EQ(Corner(0), QColor(Qt::white));
  const QSize size = Pages().Record(0).thumbnail.size();
  EXPECT_EQ(std::max(size.width(), size.height()), kThumbnailBox);

  settings::Update([](settings::Settings& s) {
    s.lvBkGrHathStyle = 99;
    s.lvCurBkGrColor = 0x000000FF;  // red
  });
  RerenderThumbnails();
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(Corner(i), QColor(255, 0, 0)) << i;
    EXPECT_EQ(Pages().Record(i).thumbnail.size(), size);
  }
}

TEST_F(PageRefreshTest, AThumbnailThatCannotBeRenderedIsKept) {
  Load(1);
  Pages().Record(0).thumbnail = MakeThumbnail(0).value();
  Pages().Record(0).metafile = render::testing::Page({0, 0, 0, 0});  // no area
  const QImage before = Pages().Record(0).thumbnail;
  RerenderThumbnails();
  EXPECT_EQ(Pages().Record(0).thumbnail, before);
}

TEST_F(PageRefreshTest, PresetOnAnEmptyPageSetStoresEverythingAndRendersNothing) {
  PageSetHost host;
  settings::RunOptionAccelerator(static_cast<int>(settings::OptionCommand::PresetTextGraphics), host);
  EXPECT_EQ(settings::ReadUserDword("ResCur"), 1200);
  EXPECT_EQ(settings::ReadUserDword("GIF_Default"), 1);
  EXPECT_EQ(settings::ReadUserDword("lvKodPreset"), 1);
  EXPECT_EQ(host.rendered_, 0);
  EXPECT_EQ(host.scrolls_, 0);
  EXPECT_EQ(Pages().Current(), -1);
  EXPECT_FALSE(Pages().CurrentImage().isValid());
  EXPECT_EQ(Pages().State(), RenderingState::Idle);
}

TEST_F(PageRefreshTest, PresetRendersTheCurrentPageAndEveryThumbnail) {
  Load(2);
  ASSERT_TRUE(Pages().SetCurrent(0));
  PageSetHost host;
  settings::ApplyPreset(settings::Preset::DemoDefault, host);
  EXPECT_EQ(host.rendered_, 1);
  EXPECT_EQ(host.scrolls_, 1);
  // 80 dpi: 210 mm is 662 pixels.
  EXPECT_EQ(Pages().ImageOfPage(0).columns(), 662u);
  // The demo background colour (red 255, green 235, blue 212) or its hatch
  // lines lie under every thumbnail's corner.
  for (int i = 0; i < 2; ++i) EXPECT_NE(Corner(i), QColor(Qt::white)) << i;
}

}  // namespace
}  // namespace pw::pages
