// Input at and past each bound of platform/limits/limits.h, through the
// public entry points that read it: the bound holds where the code applies
// it, and what lies within it still works.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/gdi/device_context.h"
#include "platform/gdi/dib.h"
#include "platform/gdi/emf_writer.h"
#include "platform/gdi/metafile.h"
#include "platform/gdi/player.h"
#include "platform/gdi/surface.h"
#include "platform/limits/limits.h"
#include "render/page_geometry.h"
#include "tests/support/test_home.h"

namespace pw::limits {
namespace {

using gdi::RecordType;

// Plays `bytes` into a 100 x 100 surface and gives the report.
gdi::PlayReport Play(const std::vector<std::byte>& bytes, int* save_level_after = nullptr) {
  auto metafile = gdi::Metafile::FromBytes(bytes);
  EXPECT_TRUE(metafile.has_value());
  auto surface = gdi::Surface::Create(100, 100);
  EXPECT_TRUE(surface.has_value());
  gdi::DeviceContext dc(*surface);
  gdi::PlayReport report;
  EXPECT_TRUE(gdi::PlayMetafile(dc, *metafile, gdi::RectL{0, 0, 100, 100}, &report));
  if (save_level_after) *save_level_after = dc.SaveLevel();
  return report;
}

TEST(Limits, SaveDcNestingStopsAtTheDepthLimitAndPlaybackGoesOn) {
  gdi::EmfWriter emf;
  const int extra = 3;
  for (int i = 0; i < kSaveDepth.value + extra; ++i) emf.SaveDc();
  emf.RestoreDc(-1).Rectangle({10, 10, 20, 20});
  int level_after = -1;
  const auto report = Play(emf.Finish(), &level_after);

  const auto& saves = report.records.at(static_cast<std::uint32_t>(RecordType::SaveDc));
  EXPECT_EQ(saves.played, static_cast<std::uint32_t>(kSaveDepth.value));
  EXPECT_EQ(saves.malformed, static_cast<std::uint32_t>(extra));
  EXPECT_EQ(report.notes.count(std::string(kSaveDepth.message)), 1u);
  EXPECT_EQ(report.records.at(static_cast<std::uint32_t>(RecordType::RestoreDc)).played, 1u);
  EXPECT_EQ(report.records.at(static_cast<std::uint32_t>(RecordType::Rectangle)).played, 1u);
  EXPECT_EQ(level_after, 0);  // the caller's DC is as before
}

TEST(Limits, SaveDcNestingWithinTheLimitIsNotNoted) {
  gdi::EmfWriter emf;
  for (int i = 0; i < 40; ++i) emf.SaveDc();
  const auto report = Play(emf.Finish());
  EXPECT_EQ(report.records.at(static_cast<std::uint32_t>(RecordType::SaveDc)).played, 40u);
  EXPECT_TRUE(report.notes.empty());
}

TEST(Limits, ObjectTableHoldsTheLastHandleAndRefusesBeyond) {
  const auto last = static_cast<std::uint32_t>(kObjectHandles.value - 1);
  gdi::EmfWriter emf;
  emf.Handles(static_cast<std::uint16_t>(kObjectHandles.value))
      .CreatePen(last, 0, 1, 0x0000FF)
      .SelectObject(last)
      .CreatePen(last + 1, 0, 1, 0x00FF00);
  const auto report = Play(emf.Finish());
  const auto& pens = report.records.at(static_cast<std::uint32_t>(RecordType::CreatePen));
  EXPECT_EQ(pens.played, 1u);
  EXPECT_EQ(pens.malformed, 1u);
  EXPECT_EQ(report.records.at(static_cast<std::uint32_t>(RecordType::SelectObject)).played, 1u);
}

// BITMAPINFOHEADER of a 1-bit bottom-up DIB.
std::vector<std::byte> MonoInfo(std::int32_t width, std::int32_t height) {
  gdi::RecordBuilder b;
  b.U32(40).I32(width).I32(height).U16(1).U16(1).U32(0).U32(0).I32(0).I32(0).U32(2).U32(0);
  b.U32(0x000000).U32(0xFFFFFF);
  return b.bytes();
}

std::vector<std::byte> MonoBits(std::int64_t width, std::int64_t height) {
  const std::int64_t stride = (width + 31) / 32 * 4;
  return std::vector<std::byte>(static_cast<std::size_t>(stride * height));
}

TEST(Limits, BitmapSidesAndPixelCountAreBounded) {
  const std::int64_t side = kBitmapSide.value;
  auto widest = gdi::DecodeDib(MonoInfo(static_cast<std::int32_t>(side), 1), MonoBits(side, 1));
  ASSERT_TRUE(widest.has_value()) << widest.error().what;
  EXPECT_EQ(widest->image.width(), side);

  auto too_wide = gdi::DecodeDib(MonoInfo(static_cast<std::int32_t>(side + 1), 1), MonoBits(side + 1, 1));
  EXPECT_FALSE(too_wide.has_value());
  auto too_tall = gdi::DecodeDib(MonoInfo(1, static_cast<std::int32_t>(side + 1)), MonoBits(1, side + 1));
  EXPECT_FALSE(too_tall.has_value());

  // Both sides allowed, the product one row past the pixel bound.
  const std::int64_t width = 8192;
  const std::int64_t height = kBitmapPixels.value / width + 1;
  auto too_many = gdi::DecodeDib(MonoInfo(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height)),
                                 MonoBits(width, height));
  ASSERT_FALSE(too_many.has_value());
  EXPECT_NE(too_many.error().what.find("too large"), std::string::npos) << too_many.error().what;
}

TEST(Limits, SurfaceSideAndBytesAreBounded) {
  const int side = static_cast<int>(kSurfaceSide.value);
  EXPECT_TRUE(gdi::Surface::Create(side, 1).has_value());
  EXPECT_FALSE(gdi::Surface::Create(side + 1, 1).has_value());
  EXPECT_FALSE(gdi::Surface::Create(1, side + 1).has_value());
  // Sides within bounds whose pixels need one row more than the byte bound.
  const int width = 32768;
  const int height = static_cast<int>(kSurfaceBytes.value / 4 / width) + 1;
  EXPECT_FALSE(gdi::Surface::Create(width, height).has_value());
}

TEST(Limits, PageImageIsBoundedBySideAndPixels) {
  // 1 m x 1 m at 100 dpi: 3938 pixels a side, drawable.
  const render::Frame metre{0, 0, 100000, 100000};
  const auto page = render::ComputePageGeometry(metre, 100.0, 100, false);
  EXPECT_TRUE(page.Drawable());
  // The same page at the highest resolution passes the side bound.
  const auto fine = render::ComputePageGeometry(metre, 2400.0, 100, false);
  EXPECT_GT(fine.columns, kPageSide.value);
  EXPECT_FALSE(fine.Drawable());
  // A long strip keeps each side within bounds but has too many pixels.
  // (15.24 m x 1.27 m at 100 dpi: 60000 x 5000 pixels.)
  const render::Frame strip{0, 0, 1524000, 127000};
  const auto wide = render::ComputePageGeometry(strip, 100.0, 100, false);
  EXPECT_LE(wide.columns, kPageSide.value);
  EXPECT_LE(wide.rows, kPageSide.value);
  EXPECT_GT(wide.columns * wide.rows, kPagePixels.value);
  EXPECT_FALSE(wide.Drawable());
}

TEST(Limits, MetafileFileOverTheByteBoundIsRefusedBeforeReading) {
  // A sparse file: its size passes the bound without using the disk.
  const auto path = test::TempDir() / "huge.emf";
  {
    std::ofstream out(path, std::ios::binary);
    ASSERT_TRUE(out);
  }
  std::filesystem::resize_file(path, static_cast<std::uintmax_t>(kMetafileBytes.value) + 4);
  const auto metafile = gdi::Metafile::FromFile(path);
  ASSERT_FALSE(metafile.has_value());
  EXPECT_NE(metafile.error().message.find("too large"), std::string::npos) << metafile.error().message;
}

}  // namespace
}  // namespace pw::limits
