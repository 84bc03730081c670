// The page renderer of emfplay: page size from the frame, supersampling.
#include <gtest/gtest.h>

#include "platform/gdi/emf/emf_writer.h"
#include "tools/emfplay/page_render.h"

namespace pw::emfplay {
namespace {

using gdi::EmfWriter;

TEST(EmfplayRender, PageSizeRoundsTheFrameUp) {
  gdi::EmfHeader h;
  h.frame = {0, 0, 2540, 5080};
  auto size = PageSizeFor(h, 96);
  ASSERT_TRUE(size);
  EXPECT_EQ(size->cols, 96);
  EXPECT_EQ(size->rows, 192);
  h.frame = {100, 100, 2641, 200};  // 2541 × 100
  size = PageSizeFor(h, 96);
  ASSERT_TRUE(size);
  EXPECT_EQ(size->cols, 97);
  EXPECT_EQ(size->rows, 4);
  h.frame = {0, 0, 0, 100};
  EXPECT_FALSE(PageSizeFor(h, 96));
  h.frame = {0, 0, 100, 100};
  EXPECT_FALSE(PageSizeFor(h, 0));
}

TEST(EmfplayRender, SupersamplingAveragesWithTruncation) {
  // One black drawing pixel in a 3 × 3 block: (8 × 255 + 0) / 9 = 226.
  EmfWriter w;
  w.Words(gdi::RecordType::SetPixelV, {10, 20, 0});
  auto metafile = gdi::Metafile::FromBytes(w.Finish());
  ASSERT_TRUE(metafile);
  const auto size = PageSizeFor(metafile->Header(), 254);
  ASSERT_TRUE(size);
  ASSERT_EQ(size->cols, 100);
  gdi::PlayReport report;
  const QImage page = RenderPage(*metafile, *size, 3, &report);
  ASSERT_EQ(page.size(), QSize(100, 100));
  EXPECT_EQ(page.pixel(10, 20) & 0xFFFFFF, 0xE2E2E2u);
  EXPECT_EQ(page.pixel(11, 20) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(report.records.at(static_cast<std::uint32_t>(gdi::RecordType::SetPixelV)).played, 1u);
  // Without supersampling the pixel is black.
  EXPECT_EQ(RenderPage(*metafile, *size, 1, nullptr).pixel(10, 20) & 0xFFFFFF, 0u);
}

TEST(EmfplayRender, SkippedTypesCountAsUnhandled) {
  EmfWriter w;
  w.CreateBrush(1, gdi::BrushStyle::Solid, 0x0000FF).SelectObject(1).Rectangle({0, 0, 50, 50});
  auto metafile = gdi::Metafile::FromBytes(w.Finish());
  ASSERT_TRUE(metafile);
  gdi::PlayReport report;
  gdi::PlayOptions options;
  options.skip_types.push_back(static_cast<std::uint32_t>(gdi::RecordType::CreateBrushIndirect));
  const QImage page = RenderPage(*metafile, {100, 100}, 1, &report, options);
  EXPECT_EQ(report.records.at(static_cast<std::uint32_t>(gdi::RecordType::CreateBrushIndirect)).unhandled, 1u);
  EXPECT_EQ(report.records.at(static_cast<std::uint32_t>(gdi::RecordType::SelectObject)).malformed, 1u);
  EXPECT_EQ(page.pixel(25, 25) & 0xFFFFFF, 0xFFFFFFu);  // the default white brush
}

}  // namespace
}  // namespace pw::emfplay
