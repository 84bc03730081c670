// The device context's mapping, world transforms and save stack.
#include "platform/gdi/dc/device_context.h"

#include <gtest/gtest.h>

namespace pw::gdi {
namespace {

class DeviceContextTest : public ::testing::Test {
 protected:
  Surface surface = *Surface::Create(64, 64);
  DeviceContext dc{surface};
};

TEST_F(DeviceContextTest, AnisotropicMapsWindowOntoViewport) {
  dc.SetMapMode(MapMode::Anisotropic);
  dc.SetWindowOrg({100, 200});
  ASSERT_TRUE(dc.SetWindowExt({1000, 500}));
  dc.SetViewportOrg({10, 20});
  ASSERT_TRUE(dc.SetViewportExt({100, -100}));
  EXPECT_EQ(dc.ToDevice({100, 200}), QPoint(10, 20));
  EXPECT_EQ(dc.ToDevice({1100, 700}), QPoint(110, -80));
  EXPECT_FALSE(dc.SetWindowExt({0, 5}));  // zero extents are refused
}

TEST_F(DeviceContextTest, ExtentsAreIgnoredOutsideTheScalableModes) {
  ASSERT_TRUE(dc.SetWindowExt({1000, 1000}));
  EXPECT_EQ(dc.ToDevice({7, 9}), QPoint(7, 9));
}

TEST_F(DeviceContextTest, IsotropicKeepsUnitsSquare) {
  dc.SetMapMode(MapMode::Isotropic);
  dc.SetWindowExt({100, 100});
  dc.SetViewportExt({200, 50});
  // The larger extent shrinks to the smaller scale.
  EXPECT_EQ(dc.ToDevice({100, 100}), QPoint(50, 50));
}

TEST_F(DeviceContextTest, FixedModesMeasureTheReferenceDevice) {
  dc.SetReferenceDevice({1000, 1000}, {100, 100});  // 10 pixels per mm
  dc.SetMapMode(MapMode::LoMetric);                 // 0.1 mm, y up
  EXPECT_EQ(dc.ToDevice({10, 10}), QPoint(10, -10));
  dc.SetMapMode(MapMode::HiMetric);
  EXPECT_EQ(dc.ToDevice({1000, 0}), QPoint(100, 0));
  dc.SetMapMode(MapMode::LoEnglish);  // 0.01 inch = 2.54 px here
  EXPECT_EQ(dc.ToDevice({100, 100}), QPoint(254, -254));
}

TEST_F(DeviceContextTest, WorldTransformsComposeInGdiOrder) {
  ASSERT_TRUE(dc.SetWorldTransform(QTransform(2, 0, 0, 2, 0, 0)));
  // Left multiplication applies the new transform first.
  ASSERT_TRUE(dc.ModifyWorldTransform(QTransform(1, 0, 0, 1, 5, 0), WorldTransformMode::LeftMultiply));
  EXPECT_EQ(dc.ToDevice({1, 1}), QPoint(12, 2));
  ASSERT_TRUE(dc.ModifyWorldTransform(QTransform(1, 0, 0, 1, 5, 0), WorldTransformMode::RightMultiply));
  EXPECT_EQ(dc.ToDevice({1, 1}), QPoint(17, 2));
  EXPECT_FALSE(dc.SetWorldTransform(QTransform(1, 2, 2, 4, 0, 0)));  // singular
  EXPECT_EQ(dc.ToDevice({1, 1}), QPoint(17, 2));
  ASSERT_TRUE(dc.ModifyWorldTransform(QTransform(), WorldTransformMode::Identity));
  EXPECT_EQ(dc.ToDevice({1, 1}), QPoint(1, 1));
}

TEST_F(DeviceContextTest, DeviceTransformStacksWorldPageAndBase) {
  dc.SetBaseTransform(QTransform(1, 0, 0, 1, 100, 0));
  dc.SetMapMode(MapMode::Anisotropic);
  dc.SetWindowExt({1, 1});
  dc.SetViewportExt({3, 3});
  dc.SetWorldTransform(QTransform(1, 0, 0, 1, 1, 0));
  EXPECT_EQ(dc.ToDevice({1, 1}), QPoint(106, 3));  // ((1 + 1) × 3) + 100
}

TEST_F(DeviceContextTest, RestoreDcTakesAbsoluteAndRelativeLevels) {
  dc.SetTextColor(1);
  EXPECT_EQ(dc.SaveDc(), 1);
  dc.SetTextColor(2);
  EXPECT_EQ(dc.SaveDc(), 2);
  dc.SetTextColor(3);
  EXPECT_EQ(dc.SaveDc(), 3);
  dc.SetTextColor(4);
  ASSERT_TRUE(dc.RestoreDc(-1));
  EXPECT_EQ(dc.State().text_color, 3u);
  EXPECT_EQ(dc.SaveLevel(), 2);
  ASSERT_TRUE(dc.RestoreDc(1));
  EXPECT_EQ(dc.State().text_color, 1u);
  EXPECT_EQ(dc.SaveLevel(), 0);
  EXPECT_FALSE(dc.RestoreDc(-1));
  EXPECT_FALSE(dc.RestoreDc(0));
  EXPECT_FALSE(dc.RestoreDc(1));
}

TEST_F(DeviceContextTest, RestoreDcBringsBackMappingAndClip) {
  dc.SaveDc();
  dc.SetMapMode(MapMode::Anisotropic);
  dc.SetViewportExt({4, 4});
  dc.IntersectClipRect({0, 0, 2, 2});
  ASSERT_TRUE(dc.DeviceClip());
  dc.RestoreDc(-1);
  EXPECT_EQ(dc.ToDevice({5, 5}), QPoint(5, 5));
  EXPECT_FALSE(dc.DeviceClip());
}

TEST_F(DeviceContextTest, ClipOperationsCombineRegions) {
  dc.IntersectClipRect({0, 0, 20, 20});
  dc.ExcludeClipRect({5, 5, 10, 10});
  auto clip = dc.DeviceClip();
  ASSERT_TRUE(clip);
  EXPECT_TRUE(clip->contains(QPoint(19, 19)));
  EXPECT_FALSE(clip->contains(QPoint(20, 20)));
  EXPECT_FALSE(clip->contains(QPoint(7, 7)));
  dc.OffsetClipRgn({100, 0});
  EXPECT_TRUE(dc.DeviceClip()->contains(QPoint(119, 0)));
  const QRegion extra(QRect(0, 0, 3, 3));
  dc.ExtSelectClipRgn(&extra, RegionMode::Or);
  EXPECT_TRUE(dc.DeviceClip()->contains(QPoint(1, 1)));
  dc.ExtSelectClipRgn(&extra, RegionMode::Xor);
  EXPECT_FALSE(dc.DeviceClip()->contains(QPoint(1, 1)));
  dc.ExtSelectClipRgn(nullptr, RegionMode::Copy);
  EXPECT_FALSE(dc.DeviceClip());
}

TEST_F(DeviceContextTest, MetaRegionBoundsLaterClips) {
  dc.IntersectClipRect({0, 0, 10, 10});
  dc.SetMetaRgn();
  const QRegion wide(QRect(0, 0, 50, 50));
  dc.ExtSelectClipRgn(&wide, RegionMode::Copy);
  EXPECT_EQ(dc.DeviceClip()->boundingRect(), QRect(0, 0, 10, 10));
  dc.ExtSelectClipRgn(nullptr, RegionMode::Copy);
  EXPECT_EQ(dc.DeviceClip()->boundingRect(), QRect(0, 0, 10, 10));
}

TEST_F(DeviceContextTest, RotatedClipRectanglesBecomePolygons) {
  dc.SetWorldTransform(QTransform().rotate(45));
  dc.IntersectClipRect({0, 0, 20, 20});
  const auto clip = dc.DeviceClip();
  ASSERT_TRUE(clip);
  EXPECT_TRUE(clip->contains(QPoint(0, 14)));   // on the rotated square
  EXPECT_FALSE(clip->contains(QPoint(10, 2)));  // inside the unrotated one only
}

}  // namespace
}  // namespace pw::gdi
