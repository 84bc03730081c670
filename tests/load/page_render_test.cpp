#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "pages/page_render.h"
#include "pages/page_set.h"
#include "render/render_view.h"
#include "settings/settings_record.h"
#include "tests/load/load_fixtures.h"
#include "tests/render/render_test_support.h"

namespace pw::pages {
namespace {

// Checks at the start and end of every render it is handed that the page
// set's bookkeeping describes this render.
class BookkeepingView final : public render::RenderView {
 public:
  explicit BookkeepingView(int index) : index_(index) {}
  void RenderStarted(int) override { Check(); }
  void BandStarted(int, int) override {}
  void RenderEnded() override { Check(); }
  void InvalidateStatusArea() override {}

  std::atomic<int> renders{0};
  std::atomic<int> wrong_page{0};
  std::atomic<int> not_busy{0};

 private:
  void Check() {
    ++renders;
    if (Pages().BeingRendered() != index_) ++wrong_page;
    if (Pages().State() != RenderingState::Busy) ++not_busy;
  }
  int index_;
};

class PageRenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::ResetPageSet();
    settings::Update([](settings::Settings& s) {
      s = settings::Settings{};
      s.KodAntialias = 0;
    });
  }
  void TearDown() override { test::ResetPageSet(); }

  // Page i of the set gets the frame `frames[i]`.
  void Load(const std::vector<gdi::RectL>& frames) {
    PageSet& pages = Pages();
    for (std::size_t i = 0; i < frames.size(); ++i) {
      PageRecord& record = pages.Record(static_cast<int>(i));
      record.file_name = "000" + std::to_string(i + 1) + ".emf";
      record.metafile = render::testing::Page(frames[i]);
    }
    pages.SetCount(static_cast<int>(frames.size()));
  }
};

constexpr gdi::RectL kA4{0, 0, 21000, 29700};
constexpr gdi::RectL kA5{0, 0, 14800, 21000};
// A frame without area: a page the rasteriser refuses.
constexpr gdi::RectL kNoArea{0, 0, 0, 0};

TEST_F(PageRenderTest, PagesOutsideTheSetAreRefusedBeforeAnythingChanges) {
  Load({kA4, kA5});
  Pages().SetBeingRendered(1);
  for (const int index : {-1, 2, 3, kMaxPages}) {
    for (const RenderPurpose purpose : {RenderPurpose::View, RenderPurpose::Writer, RenderPurpose::WriterThumbnail}) {
      const auto rendered = RenderPageOfSet({.index = index, .resolution = 20.0, .purpose = purpose});
      ASSERT_FALSE(rendered.has_value()) << index;
      EXPECT_NE(rendered.error().message.find(std::to_string(index + 1)), std::string::npos);
    }
  }
  // A strip thumbnail may be of the record being filled after the last one, no further.
  EXPECT_TRUE(RenderPageOfSet({.index = 2, .resolution = 20.0, .purpose = RenderPurpose::Thumbnail}).has_value());
  EXPECT_FALSE(RenderPageOfSet({.index = 3, .resolution = 20.0, .purpose = RenderPurpose::Thumbnail}).has_value());
  EXPECT_FALSE(RenderPageOfSet({.index = -1, .resolution = 20.0, .purpose = RenderPurpose::Thumbnail}).has_value());
  Pages().SetCount(kMaxPages);
  EXPECT_FALSE(RenderPageOfSet({.index = kMaxPages, .resolution = 20.0, .purpose = RenderPurpose::Thumbnail}).has_value());
  EXPECT_EQ(Pages().State(), RenderingState::Idle);
  EXPECT_EQ(Pages().Current(), -1);
}

TEST_F(PageRenderTest, ViewRenderBecomesThatPagesCurrentImage) {
  Load({kA4, kA5});
  ASSERT_TRUE(Pages().SetCurrent(1));
  BookkeepingView view(1);
  const auto rendered = RenderPageOfSet({.index = 1, .resolution = 30.0, .purpose = RenderPurpose::View, .view = &view});
  ASSERT_TRUE(rendered.has_value()) << rendered.error().message;
  EXPECT_EQ(view.renders, 2);
  EXPECT_EQ(view.wrong_page, 0);
  EXPECT_EQ(view.not_busy, 0);
  EXPECT_EQ(Pages().State(), RenderingState::Ready);
  EXPECT_EQ(Pages().BeingRendered(), 1);
  const Magick::Image shown = Pages().ImageOfPage(1);
  EXPECT_EQ(shown.columns(), rendered->image.columns());
  EXPECT_EQ(shown.columns(), 175u);  // ceil(148 mm at 30 dpi)
  EXPECT_EQ(Pages().ImageOfPage(0).columns(), 0u);
}

TEST_F(PageRenderTest, WriterRendersLeaveTheCurrentImageAndThumbnailsTheState) {
  Load({kA4, kA5});
  ASSERT_TRUE(Pages().SetCurrent(0));
  ASSERT_TRUE(RenderPageOfSet({.index = 0, .resolution = 30.0, .purpose = RenderPurpose::View}).has_value());
  const std::size_t shown = Pages().CurrentImage().columns();

  BookkeepingView writer_view(1);
  const auto page = RenderPageOfSet({.index = 1, .resolution = 60.0, .purpose = RenderPurpose::Writer, .view = &writer_view});
  ASSERT_TRUE(page.has_value());
  EXPECT_EQ(page->image.columns(), 350u);
  EXPECT_EQ(writer_view.wrong_page + writer_view.not_busy, 0);
  EXPECT_EQ(Pages().CurrentImage().columns(), shown);
  EXPECT_EQ(Pages().ImageOfPage(0).columns(), shown);

  // Thumbnails ignore the page scale and leave the state to whoever makes them.
  settings::Update([](settings::Settings& s) { s.ScaleCur = 50; });
  Pages().SetState(RenderingState::Busy);
  const auto thumbnail = RenderPageOfSet({.index = 0, .resolution = 50.0, .purpose = RenderPurpose::Thumbnail});
  ASSERT_TRUE(thumbnail.has_value());
  EXPECT_EQ(thumbnail->image.columns(), 414u);
  EXPECT_EQ(Pages().State(), RenderingState::Busy);
  EXPECT_EQ(Pages().BeingRendered(), 0);

  const auto gallery = RenderPageOfSet({.index = 1, .resolution = 40.0, .purpose = RenderPurpose::WriterThumbnail});
  ASSERT_TRUE(gallery.has_value());
  EXPECT_EQ(gallery->image.columns(), 234u);
  EXPECT_EQ(Pages().State(), RenderingState::Ready);
}

TEST_F(PageRenderTest, OptionsGivenWinOverTheSettings) {
  Load({kA4});
  settings::Update([](settings::Settings& s) { s.ScaleCur = 100; });
  render::RenderOptions half;
  half.KodAntialias = 0;
  half.ScaleCur = 50;
  const auto rendered =
      RenderPageOfSet({.index = 0, .resolution = 100.0, .purpose = RenderPurpose::Writer, .options = half});
  ASSERT_TRUE(rendered.has_value());
  EXPECT_EQ(rendered->image.columns(), 414u);
  const auto from_settings = RenderPageOfSet({.index = 0, .resolution = 100.0, .purpose = RenderPurpose::Writer});
  ASSERT_TRUE(from_settings.has_value());
  EXPECT_EQ(from_settings->image.columns(), 827u);
}

TEST_F(PageRenderTest, FailedViewRenderLeavesNoImageOfAnotherPage) {
  Load({kA4, kNoArea});
  ASSERT_TRUE(RenderPageOfSet({.index = 0, .resolution = 30.0, .purpose = RenderPurpose::View}).has_value());
  ASSERT_TRUE(Pages().SetCurrent(1));
  const auto failed = RenderPageOfSet({.index = 1, .resolution = 30.0, .purpose = RenderPurpose::View});
  ASSERT_FALSE(failed.has_value());
  EXPECT_EQ(failed.error().message, "The page has no area.");
  EXPECT_EQ(Pages().CurrentImage().columns(), 0u);
  EXPECT_EQ(Pages().ImageOfPage(0).columns(), 0u);
  EXPECT_EQ(Pages().State(), RenderingState::Ready);
  EXPECT_EQ(RenderFailureText(1, failed.error().message), "Page 2 could not be rendered:\nThe page has no area.");
}

// Renders on several threads at once each find the bookkeeping describing
// their own render from its first band to its end.
TEST_F(PageRenderTest, RendersOnSeveralThreadsKeepTheirOwnBookkeeping) {
  Load({kA4, kA5, kA4, kA5});
  std::vector<std::unique_ptr<BookkeepingView>> views;
  for (int i = 0; i < 4; ++i) views.push_back(std::make_unique<BookkeepingView>(i));
  std::vector<std::thread> threads;
  std::atomic<int> failures{0};
  for (int i = 0; i < 4; ++i) {
    threads.emplace_back([i, &views, &failures] {
      for (int n = 0; n < 3; ++n) {
        const auto purpose = i % 2 == 0 ? RenderPurpose::Writer : RenderPurpose::View;
        if (!RenderPageOfSet({.index = i, .resolution = 40.0, .purpose = purpose, .view = views[i].get(), .threads = 1}))
          ++failures;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures, 0);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(views[i]->renders, 6) << i;
    EXPECT_EQ(views[i]->wrong_page, 0) << i;
    EXPECT_EQ(views[i]->not_busy, 0) << i;
  }
}

TEST_F(PageRenderTest, RenderWithSettingsUsesTheScale) {
  settings::Update([](settings::Settings& s) {
    s.ScaleCur = 50;
    s.KodAntialias = 0;
  });
  Load({kA4});
  auto rendered = RenderPageOfSet({.index = 0, .resolution = 100.0, .purpose = RenderPurpose::Writer});
  ASSERT_TRUE(rendered.has_value()) << rendered.error().message;
  EXPECT_EQ(rendered->image.columns(), 414u);
  auto thumb = RenderPageOfSet({.index = 0, .resolution = 100.0, .purpose = RenderPurpose::WriterThumbnail});
  ASSERT_TRUE(thumb.has_value());
  EXPECT_EQ(thumb->image.columns(), 827u);
}

}  // namespace
}  // namespace pw::pages
