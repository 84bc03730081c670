#include <gtest/gtest.h>

#include "platform/gdi/metafile.h"
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

}  // namespace
}  // namespace pw::render
