// Placement of the picture, mapping records, the save stack and what
// playback leaves behind in the caller's DC.
#include <gtest/gtest.h>

#include "tests/gdi/play_fixture.h"

namespace pw::gdi::test {
namespace {

EmfWriter Filler(ColorRef color = kRed) {
  EmfWriter w;
  w.CreateBrush(1, BrushStyle::Solid, color).SelectObject(1).SelectObject(kStockNullPen);
  return w;
}

TEST(PlayState, TheFrameIsStretchedOntoTheRectangle) {
  EmfWriter w = Filler();
  w.Rectangle({20, 20, 60, 60});
  EXPECT_EQ(BoundsOf(Play(w, 50, 50).surface, kRed), QRect(10, 10, 20, 20));
  EXPECT_EQ(BoundsOf(Play(w, 200, 100).surface, kRed), QRect(40, 20, 80, 40));
}

TEST(PlayState, TheFrameOriginMovesThePicture) {
  EmfWriter w = Filler();
  w.Frame({500, 500, 1500, 1500});  // starts 50 reference pixels in
  w.Rectangle({50, 50, 60, 60});
  EXPECT_EQ(BoundsOf(Play(w).surface, kRed), QRect(0, 0, 10, 10));
}

TEST(PlayState, AnisotropicMappingScalesShapes) {
  EmfWriter w = Filler();
  w.SetMapMode(MapMode::Anisotropic).SetWindowOrg(100, 100).SetWindowExt(1000, 1000).SetViewportExt(100, 100);
  w.Rectangle({200, 200, 600, 600});
  const Played p = Play(w);
  EXPECT_EQ(BoundsOf(p.surface, kRed), QRect(10, 10, 40, 40));
}

TEST(PlayState, WorldTransformScalesShapes) {
  EmfWriter w = Filler();
  const float scale[6] = {2, 0, 0, 2, 0, 0};
  w.SetWorldTransform(scale).Rectangle({5, 5, 10, 10});
  const float shift[6] = {1, 0, 0, 1, 50, 0};
  w.ModifyWorldTransform(shift, WorldTransformMode::RightMultiply).Rectangle({5, 5, 10, 10});
  const Played p = Play(w);
  EXPECT_EQ(CountColor(p.surface, kRed, {10, 10, 10, 10}), 100);
  EXPECT_EQ(CountColor(p.surface, kRed, {60, 10, 10, 10}), 100);
  EXPECT_EQ(CountColor(p.surface, kRed, {0, 0, 100, 100}), 200);
}

TEST(PlayState, RestoreDcBringsBackObjectsAndMapping) {
  EmfWriter w = Filler();
  w.SaveDc().CreateBrush(2, BrushStyle::Solid, kGreen).SelectObject(2);
  w.SetMapMode(MapMode::Anisotropic).SetViewportExt(4, 4);
  w.RestoreDc(-1).Rectangle({0, 0, 10, 10});
  const Played p = Play(w);
  EXPECT_EQ(BoundsOf(p.surface, kRed), QRect(0, 0, 10, 10));
  EXPECT_EQ(CountColor(p.surface, kGreen, {0, 0, 100, 100}), 0);
}

TEST(PlayState, TheMetafileCannotRestoreTheCallersSavedStates) {
  auto metafile = Metafile::FromBytes(Filler().SaveDc().RestoreDc(-2).RestoreDc(3).RestoreDc(-1).RestoreDc(-1).Finish());
  ASSERT_TRUE(metafile);
  Surface surface = *Surface::Create(10, 10);
  DeviceContext dc(surface);
  dc.SetTextColor(0x123456);
  dc.SaveDc();
  dc.SetMapMode(MapMode::Anisotropic);
  dc.SetViewportExt({2, 2});
  PlayReport report;
  PlayMetafile(dc, *metafile, {0, 0, 10, 10}, &report);
  EXPECT_EQ(dc.SaveLevel(), 1);
  EXPECT_EQ(dc.ToDevice({3, 3}), QPoint(6, 6));
  EXPECT_EQ(report.records.at(static_cast<std::uint32_t>(RecordType::RestoreDc)).played, 1u);
  EXPECT_EQ(report.records.at(static_cast<std::uint32_t>(RecordType::RestoreDc)).malformed, 3u);
}

TEST(PlayState, PlaybackStartsFreshAndLeavesTheCallerAsItWas) {
  auto metafile = Metafile::FromBytes(EmfWriter()
                                          .SetTextColor(kGreen)
                                          .SetBkMode(BkMode::Transparent)
                                          .SetRop2(Rop2::XorPen)
                                          .SetMapMode(MapMode::Anisotropic)
                                          .SetViewportExt(3, 3)
                                          .CreateBrush(1, BrushStyle::Solid, kRed)
                                          .SelectObject(1)
                                          .Finish());
  ASSERT_TRUE(metafile);
  Surface surface = *Surface::Create(10, 10);
  DeviceContext dc(surface);
  dc.SetTextColor(kBlue);
  dc.SetRop2(Rop2::Not);
  ASSERT_TRUE(PlayMetafile(dc, *metafile, {0, 0, 10, 10}));
  EXPECT_EQ(dc.State().text_color, kBlue);
  EXPECT_EQ(dc.State().rop2, Rop2::Not);
  EXPECT_EQ(dc.State().bk_mode, BkMode::Opaque);
  EXPECT_EQ(dc.State().map_mode, MapMode::Text);
  EXPECT_EQ(dc.State().brush.color, kWhite);
  EXPECT_TRUE(dc.DeviceTransform().isIdentity());
  EXPECT_FALSE(PlayMetafile(dc, Metafile(), {0, 0, 10, 10}));
}

TEST(PlayState, RecordsCarryingBadValuesAreCountedAsMalformed) {
  EmfWriter w;
  w.Words(RecordType::SetMapMode, {99}).Words(RecordType::SetBkMode, {7}).Words(RecordType::SetRop2, {0});
  w.Words(RecordType::SetWindowExtEx, {});
  w.Record(RecordType::GdiComment, RecordBuilder().U32(4).U32(0x2B464D45));
  const Played p = Play(w);
  for (RecordType t : {RecordType::SetMapMode, RecordType::SetBkMode, RecordType::SetRop2, RecordType::SetWindowExtEx})
    EXPECT_EQ(p.report.records.at(static_cast<std::uint32_t>(t)).malformed, 1u) << RecordName(t);
  EXPECT_EQ(p.report.records.at(static_cast<std::uint32_t>(RecordType::GdiComment)).ignored, 1u);
  EXPECT_EQ(p.report.Totals().unhandled, 0u);
}

}  // namespace
}  // namespace pw::gdi::test
