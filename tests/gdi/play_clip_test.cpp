// Clipping and region records.
#include <gtest/gtest.h>

#include "tests/gdi/play_fixture.h"

namespace pw::gdi::test {
namespace {

// Red brush, no pen: a rectangle fills exactly its box.
EmfWriter Filler() {
  EmfWriter w;
  w.CreateBrush(1, BrushStyle::Solid, kRed).SelectObject(1).SelectObject(kStockNullPen);
  return w;
}

TEST(PlayClip, IntersectAndExcludeLimitFills) {
  EmfWriter w = Filler();
  w.IntersectClipRect({10, 10, 40, 40}).ExcludeClipRect({20, 20, 30, 30}).Rectangle({0, 0, 100, 100});
  const Played p = Play(w);
  EXPECT_EQ(BoundsOf(p.surface, kRed), QRect(10, 10, 30, 30));
  EXPECT_EQ(CountColor(p.surface, kRed, {0, 0, 100, 100}), 900 - 100);
}

TEST(PlayClip, ExtSelectClipRgnTakesRegionDataAndAllModes) {
  EmfWriter w = Filler();
  auto select = [&w](std::int32_t mode, std::initializer_list<RectL> rects) {
    const RecordBuilder data = RegionData(rects);
    RecordBuilder b;
    b.U32(static_cast<std::uint32_t>(data.size())).I32(mode).Bytes(data.bytes());
    w.Record(RecordType::ExtSelectClipRgn, b);
  };
  select(5 /* RGN_COPY */, {{0, 0, 10, 10}, {20, 0, 30, 10}});
  select(2 /* RGN_OR */, {{0, 20, 10, 30}});
  select(4 /* RGN_DIFF */, {{0, 0, 5, 5}});
  w.Rectangle({0, 0, 100, 100});
  const Played p = Play(w);
  EXPECT_EQ(CountColor(p.surface, kRed, {0, 0, 100, 100}), 100 + 100 + 100 - 25);
  EXPECT_EQ(p.surface.PixelColorRef(2, 2), kWhite);
  EXPECT_EQ(p.surface.PixelColorRef(25, 5), kRed);
  EXPECT_EQ(p.surface.PixelColorRef(15, 5), kWhite);
}

TEST(PlayClip, CopyWithoutRegionClearsTheClip) {
  EmfWriter w = Filler();
  w.IntersectClipRect({0, 0, 10, 10});
  w.Words(RecordType::ExtSelectClipRgn, {0, 5});
  w.Rectangle({0, 0, 100, 100});
  const Played p = Play(w);
  EXPECT_EQ(CountColor(p.surface, kRed, {0, 0, 100, 100}), 10000);
}

TEST(PlayClip, RegionsFollowThePicturePlacement) {
  // The region is in reference-device pixels; played at half size it halves.
  EmfWriter w = Filler();
  const RecordBuilder data = RegionData({{20, 20, 60, 60}});
  RecordBuilder b;
  b.U32(static_cast<std::uint32_t>(data.size())).I32(5).Bytes(data.bytes());
  w.Record(RecordType::ExtSelectClipRgn, b).Rectangle({0, 0, 100, 100});
  const Played p = Play(w, 50, 50);
  EXPECT_EQ(BoundsOf(p.surface, kRed), QRect(10, 10, 20, 20));
}

TEST(PlayClip, OffsetClipRgnMovesTheClip) {
  EmfWriter w = Filler();
  w.IntersectClipRect({0, 0, 10, 10}).Words(RecordType::OffsetClipRgn, {30, 40}).Rectangle({0, 0, 100, 100});
  const Played p = Play(w);
  EXPECT_EQ(BoundsOf(p.surface, kRed), QRect(30, 40, 10, 10));
}

TEST(PlayClip, SelectClipPathClipsToThePathArea) {
  EmfWriter w = Filler();
  const std::vector<PointL> triangle = {{10, 10}, {50, 10}, {10, 50}};
  w.Record(RecordType::BeginPath).Poly16(RecordType::Polygon16, triangle).Record(RecordType::EndPath);
  w.Words(RecordType::SelectClipPath, {5});
  w.Rectangle({0, 0, 100, 100});
  const Played p = Play(w);
  EXPECT_EQ(BoundsOf(p.surface, kRed), QRect(10, 10, 40, 40));
  // Half of the 40 × 40 square, give or take the diagonal.
  EXPECT_NEAR(CountColor(p.surface, kRed, {0, 0, 100, 100}), 800, 40);
  EXPECT_EQ(p.surface.PixelColorRef(45, 45), kWhite);
}

TEST(PlayClip, TheCallersClipBoundsThePicture) {
  auto metafile = Metafile::FromBytes(Filler()
                                          .Words(RecordType::ExtSelectClipRgn, {0, 5})
                                          .Rectangle({0, 0, 100, 100})
                                          .Finish());
  ASSERT_TRUE(metafile);
  Surface surface = *Surface::Create(100, 100);
  DeviceContext dc(surface);
  dc.IntersectClipRect({0, 0, 50, 100});
  PlayMetafile(dc, *metafile, {0, 0, 100, 100});
  EXPECT_EQ(BoundsOf(surface, kRed), QRect(0, 0, 50, 100));
  // And the caller's own clip is unchanged afterwards.
  ASSERT_TRUE(dc.DeviceClip());
  EXPECT_EQ(dc.DeviceClip()->boundingRect(), QRect(0, 0, 50, 100));
  EXPECT_FALSE(dc.State().meta_clip);
}

TEST(PlayClip, RegionRecordsFillFrameAndInvert) {
  EmfWriter w;
  w.CreateBrush(1, BrushStyle::Solid, kRed);
  auto region_record = [&w](RecordType type, bool with_brush, std::initializer_list<RectL> rects, bool frame = false) {
    const RecordBuilder data = RegionData(rects);
    RecordBuilder b;
    b.Rect({0, 0, 0, 0}).U32(static_cast<std::uint32_t>(data.size()));
    if (with_brush) b.U32(1);
    if (frame) b.I32(2).I32(2);
    b.Bytes(data.bytes());
    w.Record(type, b);
  };
  region_record(RecordType::FillRgn, true, {{0, 0, 10, 10}});
  region_record(RecordType::FrameRgn, true, {{20, 0, 40, 20}}, true);
  region_record(RecordType::InvertRgn, false, {{0, 0, 5, 10}});
  const Played p = Play(w);
  EXPECT_EQ(CountColor(p.surface, kRed, {5, 0, 5, 10}), 50);
  EXPECT_EQ(CountColor(p.surface, 0xFFFF00, {0, 0, 5, 10}), 50);  // red inverted is cyan
  EXPECT_EQ(CountColor(p.surface, kRed, {20, 0, 20, 20}), 400 - 256);  // a 2-pixel frame
  EXPECT_EQ(p.surface.PixelColorRef(30, 10), kWhite);
}

TEST(PlayClip, RegionDataWithBadCountsIsRefused) {
  EmfWriter w = Filler();
  RecordBuilder data = RegionData({{0, 0, 10, 10}});
  std::vector<std::byte> bytes = data.bytes();
  bytes[8] = std::byte{0xFF};  // nCount: 255 rectangles in a buffer of one
  RecordBuilder b;
  b.U32(static_cast<std::uint32_t>(bytes.size())).I32(5).Bytes(bytes);
  w.Record(RecordType::ExtSelectClipRgn, b).Rectangle({0, 0, 100, 100});
  const Played p = Play(w);
  EXPECT_EQ(p.report.records.at(static_cast<std::uint32_t>(RecordType::ExtSelectClipRgn)).malformed, 1u);
  EXPECT_EQ(CountColor(p.surface, kRed, {0, 0, 100, 100}), 10000);
}

}  // namespace
}  // namespace pw::gdi::test

namespace pw::gdi::test {
namespace {

// A clip region set after drawing without one must hold again.
TEST(PlayClip, ClipsHoldAfterUnclippedDrawing) {
  EmfWriter w = Filler();
  const std::vector<PointL> triangle = {{10, 10}, {50, 10}, {10, 50}};
  auto clip_to_triangle = [&](int dy) {
    std::vector<PointL> moved = triangle;
    for (auto& p : moved) p.y += dy;
    w.SaveDc().Record(RecordType::BeginPath).Poly16(RecordType::Polygon16, moved).Record(RecordType::EndPath);
    w.Words(RecordType::SelectClipPath, {5});
  };
  clip_to_triangle(0);
  w.Rectangle({0, 0, 60, 60}).RestoreDc(-1);
  w.SelectObject(kStockBlackPen).MoveTo(0, 55).LineTo(100, 55).SelectObject(kStockNullPen);  // unclipped
  clip_to_triangle(50);
  w.Rectangle({0, 50, 100, 110}).RestoreDc(-1);
  w.Frame({0, 0, 1000, 1100});
  const Played p = Play(w, 100, 110);
  EXPECT_EQ(p.surface.PixelColorRef(5, 80), kWhite) << Picture(p.surface, {0, 50, 60, 60}, {{kRed, 'r'}});
  EXPECT_EQ(p.surface.PixelColorRef(55, 100), kWhite);
  EXPECT_EQ(p.surface.PixelColorRef(15, 65), kRed);
}

}  // namespace
}  // namespace pw::gdi::test
