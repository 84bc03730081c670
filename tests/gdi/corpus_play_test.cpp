// Every file of the shared corpus loads as the reference renderer loaded it
// and plays without harm.
#include <gtest/gtest.h>

#include "platform/gdi/dc/device_context.h"
#include "platform/gdi/emf/metafile.h"
#include "platform/gdi/player/player.h"
#include "tests/support/corpus.h"

namespace pw::gdi {
namespace {

TEST(CorpusPlay, PagesTheReferenceRenderedLoadAndPlay) {
  PW_REQUIRE_CORPUS();
  int played = 0;
  for (const auto& page : pw::test::CorpusPages()) {
    if (page.emf.extension() == ".SPL") continue;
    auto metafile = Metafile::FromFile(page.emf);
    if (page.status != "ok") continue;
    ASSERT_TRUE(metafile) << page.emf << ": " << metafile.error().message;
    // A small surface keeps the run short; the whole picture is still played.
    const int cols = std::max(1, page.cols / 4), rows = std::max(1, page.rows / 4);
    auto surface = Surface::Create(cols, rows);
    ASSERT_TRUE(surface);
    DeviceContext dc(*surface);
    PlayReport report;
    EXPECT_TRUE(PlayMetafile(dc, *metafile, {0, 0, cols, rows}, &report)) << page.emf;
    EXPECT_GT(report.Totals().played, 0u) << page.emf;
    EXPECT_EQ(dc.SaveLevel(), 0) << page.emf;
    ++played;
  }
  EXPECT_GT(played, 150);
}

TEST(CorpusPlay, FilesTheReferenceRefusedAreRefusedOrEmpty) {
  PW_REQUIRE_CORPUS();
  for (const auto& page : pw::test::CorpusPages()) {
    if (page.status != "not-loadable") continue;
    auto metafile = Metafile::FromFile(page.emf);
    if (metafile) {
      // Loadable here but not there: at least its damage must be known.
      EXPECT_TRUE(metafile->Damage()) << page.emf;
    }
  }
}

}  // namespace
}  // namespace pw::gdi
