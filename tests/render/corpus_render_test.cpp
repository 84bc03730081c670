#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/gdi/emf/metafile.h"
#include "render/page_rasteriser.h"
#include "tests/render/render_test_support.h"
#include "tests/support/corpus.h"

namespace pw::render {
namespace {

using testing::Pixels;
using testing::RawOptions;

// Every loadable corpus page renders at its reference resolution to the
// reference's size: the page geometry agrees with how the references were made.
TEST(CorpusRender, PagesComeOutAtTheReferenceSize) {
  PW_REQUIRE_CORPUS();
  int checked = 0;
  for (const auto& row : pw::test::CorpusPages()) {
    if (row.status != "ok" || row.emf.extension() != ".emf") continue;
    if (static_cast<long long>(row.cols) * row.rows > 20'000'000) continue;  // posters: too heavy here
    auto metafile = gdi::Metafile::FromFile(row.emf);
    if (!metafile) continue;  // the GDI layer refuses a few damaged files
    RenderRequest request;
    request.metafile = &*metafile;
    request.resolution = row.dpi;
    request.options = RawOptions(0);
    request.thumbnail = true;  // size and page only: cheap
    auto rendered = RenderPage(request);
    ASSERT_TRUE(rendered.has_value()) << row.emf << ": " << rendered.error().message;
    EXPECT_EQ(rendered->image.columns(), static_cast<std::size_t>(row.cols)) << row.emf;
    EXPECT_EQ(rendered->image.rows(), static_cast<std::size_t>(row.rows)) << row.emf;
    ++checked;
  }
  EXPECT_GT(checked, 150);
}

// Text, bitmaps and clipping from real pages: parallel bands still give the
// bytes of bands drawn in order.
TEST(CorpusRender, ParallelBandsMatchSequentialOnRealPages) {
  PW_REQUIRE_CORPUS();
  const auto dir = *pw::test::CorpusDir();
  for (const char* name : {"pages/emfspoolreader__EMFSpoolfileReader_00003__p1.emf",
                           "emf/emfreader__EMFSpool_0012.emf"}) {
    auto metafile = gdi::Metafile::FromFile(dir / name);
    ASSERT_TRUE(metafile.has_value()) << name;
    RenderRequest request;
    request.metafile = &*metafile;
    request.resolution = 60.0;
    request.options = RawOptions(3);
    request.options.background.lvBkGrHathStyle = 0;
    request.threads = 1;
    auto sequential = RenderPage(request);
    request.threads = 2;
    auto parallel = RenderPage(request);
    ASSERT_TRUE(sequential && parallel) << name;
    ASSERT_GT(sequential->bands, 1) << name;
    EXPECT_TRUE(Pixels(sequential->image) == Pixels(parallel->image)) << name;
  }
}

// Pages rendered on two threads at once, each with its own bands, come out
// as they do one at a time: fonts, glyph caches and the player share nothing
// a concurrent render could disturb.
TEST(CorpusRender, PagesRenderedAtTheSameTimeMatchPagesRenderedAlone) {
  PW_REQUIRE_CORPUS();
  const auto dir = *pw::test::CorpusDir();
  std::vector<gdi::Metafile> pages;
  for (const char* name : {"pages/emfspoolreader__EMFSpoolfileReader_00003__p1.emf",
                           "emf/emfreader__EMFSpool_0012.emf", "emf/libemf2svg__test-011.emf"}) {
    auto metafile = gdi::Metafile::FromFile(dir / name);
    ASSERT_TRUE(metafile.has_value()) << name;
    pages.push_back(std::move(*metafile));
  }
  const auto render = [](const gdi::Metafile& page) {
    RenderRequest request;
    request.metafile = &page;
    request.resolution = 50.0;
    request.options = RawOptions(2);
    request.threads = 2;
    request.preview = false;
    auto rendered = RenderPage(request);
    return rendered ? Pixels(rendered->image) : std::vector<std::uint8_t>{};
  };
  std::vector<std::vector<std::uint8_t>> alone;
  for (const auto& page : pages) {
    alone.push_back(render(page));
    ASSERT_FALSE(alone.back().empty());
  }
  std::vector<std::vector<std::uint8_t>> together[2];
  {
    std::jthread first([&] { for (int round = 0; round < 2; ++round) for (const auto& p : pages) together[0].push_back(render(p)); });
    std::jthread second([&] { for (int round = 0; round < 2; ++round) for (auto it = pages.rbegin(); it != pages.rend(); ++it) together[1].push_back(render(*it)); });
  }
  for (std::size_t i = 0; i < 2 * pages.size(); ++i) {
    EXPECT_TRUE(together[0][i] == alone[i % pages.size()]) << "first thread, render " << i;
    EXPECT_TRUE(together[1][i] == alone[pages.size() - 1 - i % pages.size()]) << "second thread, render " << i;
  }
}

}  // namespace
}  // namespace pw::render
