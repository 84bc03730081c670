// A series run on the writer thread while the user pages through the set on
// this thread: the page view's work (set the current page, render it, show
// it) races the writer's use of the current page and its image.
#include <gtest/gtest.h>

#include <Magick++.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "pages/page_render.h"
#include "pages/page_set.h"
#include "output/image_file.h"
#include "output/image_series_writer.h"
#include "output/output_run.h"
#include "output_fixtures.h"

namespace pw::test {
namespace {

constexpr int kPages = 6;
constexpr int kRounds = 4;
constexpr double kResolution = 30.0;  // the fixture's current resolution

struct Size {
  std::size_t columns = 0;
  std::size_t rows = 0;
  bool operator==(const Size&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const Size& size) {
    return out << size.columns << "x" << size.rows;
  }
};

Size SizeOf(const Magick::Image& image) { return {image.columns(), image.rows()}; }

// Holds the run at its first redraw until paging is under way, so the
// pages are written while the current page moves, and reads the current
// image there as the page view does when it is asked to redraw.
class NavigationGateView final : public output::WriterView {
 public:
  void RedrawCurrentPage() override {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!paging.load() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    redraw_sizes.push_back(SizeOf(pages::Pages().CurrentImage()));
  }
  void SetWaitCursor(bool) override {}
  void InvalidateMainWindow() override {}

  std::atomic<bool> paging{false};
  std::vector<Size> redraw_sizes;  // written by the writer thread, read after it is joined
};

class WriterNavigationTest : public WriterTest {
 protected:
  // Page i is (30 + 6 i) mm wide, so the size of a file tells which page
  // it shows. Page 0 is current and shown, as after a capture load.
  void LoadDistinctPages() {
    pages::PageSet& pages = pages::Pages();
    for (int i = 0; i < kPages; ++i) {
      pages::PageRecord& record = pages.Record(i);
      char name[32];
      std::snprintf(name, sizeof name, "5%04d.emf", i + 1);
      record.file_name = name;
      auto metafile = gdi::Metafile::FromBytes(PlainPageEmf(30 + 6 * i, 40));
      ASSERT_TRUE(metafile.has_value());
      record.metafile = std::move(*metafile);
    }
    pages.SetCount(kPages);
    for (int i = 0; i < kPages; ++i) {
      auto image = pages::RenderPageOfSet({.index = i, .resolution = kResolution, .purpose = pages::RenderPurpose::Writer});
      ASSERT_TRUE(image.has_value()) << image.error().message;
      sizes.push_back(SizeOf(image->image));
      if (i == 0) {
        ASSERT_TRUE(pages.SetCurrent(0));
        pages.SetCurrentImage(std::move(image->image));
      }
    }
    for (int i = 1; i < kPages; ++i) ASSERT_NE(sizes[i], sizes[i - 1]) << "pages must differ in size";
  }

  bool IsPageSize(const Size& size) const {
    for (const Size& page : sizes)
      if (page == size) return true;
    return false;
  }

  // One step of Next or Previous, bouncing between the first and last
  // page: the new page becomes current, is rendered and shown.
  void Step() {
    pages::PageSet& pages = pages::Pages();
    int next = pages.Current() + direction_;
    if (next < 0 || next >= kPages) {
      direction_ = -direction_;
      next = pages.Current() + direction_;
    }
    ASSERT_TRUE(pages.SetCurrent(next));
    auto image = pages::RenderPageOfSet({.index = next, .resolution = kResolution, .purpose = pages::RenderPurpose::View});
    ASSERT_TRUE(image.has_value()) << image.error().message;
    const Size shown = SizeOf(pages.CurrentImage());
    if (shown != sizes[static_cast<std::size_t>(next)]) ++wrong_shown;
    ++steps;
  }

  // Starts a series run and pages until it has ended; the run's exit code.
  std::optional<int> RunWhilePaging(const std::shared_ptr<NavigationGateView>& gate) {
    gate->paging = false;
    if (!output::StartWriter(output::WriteImageSeries, output::CurrentWriteJob(target, gate, hook))) return std::nullopt;
    const int steps_before = steps;
    gate->paging = true;
    while (output::WriterRunning() || steps - steps_before < 2) {
      Step();
      if (HasFatalFailure()) break;
    }
    return output::WaitForWriter();
  }

  std::string SeriesFile(const std::string& dir, int page) const {
    char name[32];
    std::snprintf(name, sizeof name, "N%04d.jpg", page + 1);
    return dir + "/" + name;
  }

  std::vector<Size> sizes;
  int steps = 0;
  int wrong_shown = 0;

 private:
  int direction_ = 1;
};

TEST_F(WriterNavigationTest, EveryPageIsWrittenAndTheSetStaysWholeWhilePaging) {
  LoadDistinctPages();
  ASSERT_FALSE(HasFatalFailure());
  const std::string dir = OutDir();
  target = {dir, "N"};

  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    auto gate = std::make_shared<NavigationGateView>();
    ASSERT_EQ(RunWhilePaging(gate), 0);
    ASSERT_FALSE(HasFatalFailure());

    std::vector<std::string> expected;
    for (int i = 0; i < kPages; ++i) expected.push_back(SeriesFile(dir, i).substr(dir.size() + 1));
    EXPECT_EQ(FileNames(dir), expected);
    for (int i = 0; i < kPages; ++i) {
      EXPECT_EQ(output::Run().written.Get(i), SeriesFile(dir, i));
      Magick::Image file(SeriesFile(dir, i));
      EXPECT_EQ(file.magick(), "JPEG");
      EXPECT_TRUE(IsPageSize(SizeOf(file))) << "page " << i + 1 << " is " << SizeOf(file);
    }
    ASSERT_EQ(gate->redraw_sizes.size(), 1u);
    EXPECT_TRUE(IsPageSize(gate->redraw_sizes[0]));
  }

  const pages::PageSet& pages = pages::Pages();
  EXPECT_EQ(pages.Count(), kPages);
  ASSERT_GE(pages.Current(), 0);
  ASSERT_LT(pages.Current(), kPages);
  EXPECT_EQ(SizeOf(pages.CurrentImage()), sizes[static_cast<std::size_t>(pages.Current())]);
  EXPECT_EQ(pages.State(), pages::RenderingState::Ready);
  EXPECT_GE(steps, 2 * kRounds);
  EXPECT_EQ(wrong_shown, 0);
  EXPECT_TRUE(messages->Texts().empty());
}

// The file of each page must show that page, wherever the current page is
// when the writer reaches it: paging moves the index before the new page's
// image replaces the old one, so "the page in hand is current" alone would
// let a file show its neighbour.
TEST_F(WriterNavigationTest, EachFileShowsItsOwnPageWhilePaging) {
  LoadDistinctPages();
  ASSERT_FALSE(HasFatalFailure());
  const std::string dir = OutDir();
  target = {dir, "N"};

  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    auto gate = std::make_shared<NavigationGateView>();
    ASSERT_EQ(RunWhilePaging(gate), 0);
    for (int i = 0; i < kPages; ++i) {
      Magick::Image file(SeriesFile(dir, i));
      EXPECT_EQ(SizeOf(file), sizes[static_cast<std::size_t>(i)]) << "file of page " << i + 1;
    }
  }
}

}  // namespace
}  // namespace pw::test
