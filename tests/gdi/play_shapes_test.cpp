// Shapes, pens and brushes as the player draws them, pixel for pixel where
// GDI's result is known exactly.
#include <gtest/gtest.h>

#include "tests/gdi/play_fixture.h"

namespace pw::gdi::test {
namespace {

const std::map<ColorRef, char> kLegend = {{kBlack, '#'}, {kRed, 'r'}, {kGreen, 'g'}};

EmfWriter RedBrush() {
  EmfWriter w;
  w.CreateBrush(1, BrushStyle::Solid, kRed).SelectObject(1);
  return w;
}

TEST(PlayShapes, RectangleIncludesItsRightAndBottomEdge) {
  EmfWriter w = RedBrush();
  w.Rectangle({10, 10, 20, 20});
  const Played p = Play(w);
  EXPECT_EQ(BoundsOf(p.surface, kBlack), QRect(QPoint(10, 10), QPoint(20, 20))) << Picture(p.surface, {8, 8, 15, 15}, kLegend);
  EXPECT_EQ(CountColor(p.surface, kRed, {0, 0, 100, 100}), 9 * 9);
  EXPECT_EQ(CountColor(p.surface, kBlack, {0, 0, 100, 100}), 4 * 10);
}

TEST(PlayShapes, NullPenRectangleFillsUpToItsEdges) {
  EmfWriter w = RedBrush();
  w.SelectObject(kStockNullPen).Rectangle({30, 10, 40, 20});
  const Played p = Play(w);
  EXPECT_EQ(BoundsOf(p.surface, kRed), QRect(30, 10, 10, 10));
  EXPECT_EQ(CountColor(p.surface, kRed, {0, 0, 100, 100}), 100);
}

TEST(PlayShapes, PolygonFillsPixelCentresInsideAndOutlinesItsEdges) {
  EmfWriter w = RedBrush();
  const std::vector<PointL> square = {{10, 30}, {20, 30}, {20, 40}, {10, 40}};
  w.Poly16(RecordType::Polygon16, square);
  w.SelectObject(kStockNullPen);
  const std::vector<PointL> other = {{30, 30}, {40, 30}, {40, 40}, {30, 40}};
  w.Poly(RecordType::Polygon, other);
  const Played p = Play(w);
  EXPECT_EQ(BoundsOf(p.surface, kBlack), QRect(QPoint(10, 30), QPoint(20, 40)));
  EXPECT_EQ(CountColor(p.surface, kRed, {0, 0, 25, 100}), 9 * 9);
  EXPECT_EQ(CountColor(p.surface, kRed, {25, 0, 75, 100}), 10 * 10);
}

TEST(PlayShapes, LinesLeaveOutTheirLastPixel) {
  EmfWriter w;
  w.MoveTo(50, 30).LineTo(60, 30).MoveTo(50, 40).LineTo(50, 45);
  const Played p = Play(w);
  EXPECT_EQ(Picture(p.surface, {49, 30, 13, 1}, kLegend), ".##########..\n");
  EXPECT_EQ(CountColor(p.surface, kBlack, {50, 40, 1, 6}), 5);
  EXPECT_EQ(p.surface.PixelColorRef(50, 45), kWhite);
}

TEST(PlayShapes, CosmeticDashesFollowGdiLengths) {
  EmfWriter w;
  w.CreatePen(1, PenStyle::Dash, 0, kBlack).SelectObject(1).MoveTo(5, 60).LineTo(95, 60);
  w.CreatePen(2, PenStyle::Dot, 0, kBlack).SelectObject(2).MoveTo(5, 65).LineTo(95, 65);
  const Played p = Play(w);
  EXPECT_EQ(Picture(p.surface, {5, 60, 30, 1}, kLegend), "##################......######\n");
  EXPECT_EQ(Picture(p.surface, {5, 65, 12, 1}, kLegend), "###...###...\n");
}

TEST(PlayShapes, WideDashedPensFromCreatePenDrawSolid) {
  EmfWriter w;
  w.CreatePen(1, PenStyle::Dash, 3, kBlack).SelectObject(1).MoveTo(10, 50).LineTo(60, 50);
  const Played p = Play(w);
  for (int y = 49; y <= 51; ++y) EXPECT_EQ(CountColor(p.surface, kBlack, {12, y, 46, 1}), 46) << "row " << y;
  EXPECT_EQ(CountColor(p.surface, kBlack, {0, 47, 100, 1}), 0);
  EXPECT_EQ(CountColor(p.surface, kBlack, {0, 53, 100, 1}), 0);
}

TEST(PlayShapes, GeometricPenWidthsFollowTheTransform) {
  EmfWriter w;
  w.SetMapMode(MapMode::Anisotropic).SetWindowExt(10, 10).SetViewportExt(40, 40);  // 4 px per unit
  w.CreatePen(1, PenStyle::Solid, 1, kBlack).SelectObject(1).MoveTo(2, 10).LineTo(20, 10);
  w.CreatePen(2, PenStyle::Solid, 0, kBlack).SelectObject(2).MoveTo(2, 20).LineTo(20, 20);
  const Played p = Play(w);
  EXPECT_EQ(CountColor(p.surface, kBlack, {40, 36, 1, 10}), 4);  // width 1 → 4 pixels
  EXPECT_EQ(CountColor(p.surface, kBlack, {40, 76, 1, 10}), 1);  // width 0 stays cosmetic
}

TEST(PlayShapes, EllipseFitsInsideItsBox) {
  EmfWriter w = RedBrush();
  w.Ellipse({10, 10, 30, 30});
  const Played p = Play(w);
  EXPECT_EQ(BoundsOf(p.surface, kBlack), QRect(10, 10, 20, 20)) << Picture(p.surface, {8, 8, 24, 24}, kLegend);
  // The area stays inside the outline.
  for (int y = 10; y < 30; ++y) {
    int first = -1, last = -1;
    for (int x = 0; x < 100; ++x)
      if (p.surface.PixelColorRef(x, y) == kBlack) (first < 0 ? first : last) = x;
    if (last < 0) last = first;
    EXPECT_EQ(CountColor(p.surface, kRed, {0, y, first + 1, 1}), 0) << "row " << y;
    EXPECT_EQ(CountColor(p.surface, kRed, {last, y, 100 - last, 1}), 0) << "row " << y;
  }
  EXPECT_GT(CountColor(p.surface, kRed, {0, 0, 100, 100}), 200);  // about π × 9.5²
}

TEST(PlayShapes, PieFollowsTheArcDirection) {
  EmfWriter w = RedBrush();
  w.Frame({0, 0, 1000, 1200});
  // From 3 o'clock to 9 o'clock: counter-clockwise is the upper half.
  w.Words(RecordType::Pie, {10, 10, 51, 51, 60, 30, 0, 30});
  w.Words(RecordType::SetArcDirection, {2});
  w.Words(RecordType::Pie, {10, 60, 51, 101, 60, 80, 0, 80});
  const Played p = Play(w, 100, 120);
  EXPECT_GE(CountColor(p.surface, kRed, {0, 10, 100, 20}), 300);
  EXPECT_EQ(CountColor(p.surface, kRed, {0, 32, 100, 23}), 0);
  EXPECT_GE(CountColor(p.surface, kRed, {0, 82, 100, 20}), 300);  // clockwise: the lower half
  EXPECT_EQ(CountColor(p.surface, kRed, {0, 60, 100, 18}), 0);
}

TEST(PlayShapes, HatchBrushesUseTheBackgroundMode) {
  EmfWriter w;
  w.CreateBrush(1, BrushStyle::Hatched, kRed, HatchStyle::Horizontal).SelectObject(1).SelectObject(kStockNullPen);
  w.SetBkColor(kGreen).Rectangle({0, 0, 16, 16});
  w.SetBkMode(BkMode::Transparent).Rectangle({20, 0, 36, 16});
  const Played p = Play(w);
  for (int y = 0; y < 16; ++y) {
    const ColorRef line = y % 8 == 3 ? kRed : kGreen;
    EXPECT_EQ(CountColor(p.surface, line, {0, y, 16, 1}), 16) << "opaque row " << y;
    EXPECT_EQ(CountColor(p.surface, y % 8 == 3 ? kRed : kWhite, {20, y, 16, 1}), 16) << "transparent row " << y;
  }
}

TEST(PlayShapes, Rop2ModesMixWithTheSurface) {
  EmfWriter w = RedBrush();
  w.SelectObject(kStockNullPen);
  w.SetRop2(Rop2::XorPen).Rectangle({0, 0, 10, 10}).Rectangle({0, 0, 5, 10});
  w.SetRop2(Rop2::Black).Rectangle({20, 0, 30, 10});
  w.SetRop2(Rop2::Nop).Rectangle({40, 0, 50, 10});
  w.SetRop2(Rop2::Not).Rectangle({20, 0, 25, 10});
  const Played p = Play(w);
  EXPECT_EQ(CountColor(p.surface, kWhite, {0, 0, 5, 10}), 50);       // xor twice
  EXPECT_EQ(CountColor(p.surface, 0xFFFF00, {5, 0, 5, 10}), 50);     // white xor red
  EXPECT_EQ(CountColor(p.surface, kWhite, {20, 0, 5, 10}), 50);      // black inverted
  EXPECT_EQ(CountColor(p.surface, kBlack, {25, 0, 5, 10}), 50);
  EXPECT_EQ(CountColor(p.surface, kWhite, {40, 0, 10, 10}), 100);
}

TEST(PlayShapes, PaletteIndexColoursResolveThroughTheDefaultPalette) {
  EmfWriter w;
  w.CreateBrush(1, BrushStyle::Solid, 0xFF0000FF).SelectObject(1).SelectObject(kStockNullPen).Rectangle({0, 0, 10, 10});
  w.CreateBrush(2, BrushStyle::Solid, 0x0100000D).SelectObject(2).Rectangle({10, 0, 20, 10});  // entry 13: red
  const Played p = Play(w);
  EXPECT_EQ(CountColor(p.surface, kBlack, {0, 0, 10, 10}), 100);  // index past the end: entry 0
  EXPECT_EQ(CountColor(p.surface, kRed, {10, 0, 10, 10}), 100);
}

TEST(PlayShapes, PathsFillAndStrokeLikeTheShapesThatMadeThem) {
  EmfWriter w = RedBrush();
  const std::vector<PointL> square = {{10, 10}, {30, 10}, {30, 30}, {10, 30}};
  w.Record(RecordType::BeginPath).Poly16(RecordType::Polygon16, square).Record(RecordType::EndPath);
  w.Words(RecordType::FillPath, {0, 0, 0, 0});
  w.Record(RecordType::BeginPath).MoveTo(50, 10).LineTo(70, 10).LineTo(70, 30).Record(RecordType::EndPath);
  w.Words(RecordType::StrokePath, {0, 0, 0, 0});
  const Played p = Play(w);
  EXPECT_EQ(BoundsOf(p.surface, kRed), QRect(10, 10, 20, 20));
  EXPECT_EQ(CountColor(p.surface, kBlack, {0, 0, 45, 100}), 0);  // fill only
  EXPECT_EQ(BoundsOf(p.surface, kBlack), QRect(QPoint(50, 10), QPoint(70, 29)));
  EXPECT_EQ(CountColor(p.surface, kRed, {45, 0, 55, 100}), 0);  // stroke only
}

TEST(PlayShapes, PolyPolygonsShareOneFillRule) {
  EmfWriter w = RedBrush();
  w.Frame({0, 0, 1100, 600}).SelectObject(kStockNullPen);
  const std::vector<std::vector<PointL>> rings = {{{10, 10}, {50, 10}, {50, 50}, {10, 50}},
                                                  {{20, 20}, {40, 20}, {40, 40}, {20, 40}}};
  w.PolyPoly16(RecordType::PolyPolygon16, rings);
  w.SetPolyFillMode(PolyFillMode::Winding);
  const std::vector<std::vector<PointL>> moved = {{{60, 10}, {100, 10}, {100, 50}, {60, 50}},
                                                  {{70, 20}, {90, 20}, {90, 40}, {70, 40}}};
  w.PolyPoly16(RecordType::PolyPolygon16, moved);
  const Played p = Play(w, 110, 60);
  EXPECT_EQ(CountColor(p.surface, kRed, {0, 0, 55, 60}), 1600 - 400);  // alternate: a hole
  EXPECT_EQ(CountColor(p.surface, kRed, {55, 0, 55, 60}), 1600);       // winding, same direction: none
}

RecordBuilder Vertex(std::int32_t x, std::int32_t y, std::uint16_t r, std::uint16_t g, std::uint16_t b) {
  RecordBuilder v;
  v.I32(x).I32(y).U16(r).U16(g).U16(b).U16(0);
  return v;
}

TEST(PlayShapes, GradientFillShadesRectanglesAndTriangles) {
  EmfWriter w;
  RecordBuilder rect;
  rect.Rect({0, 0, 0, 0}).U32(2).U32(1).U32(0 /* GRADIENT_FILL_RECT_H */);
  rect.Bytes(Vertex(0, 0, 0, 0, 0).bytes()).Bytes(Vertex(100, 10, 0xFF00, 0, 0).bytes()).U32(0).U32(1);
  w.Record(RecordType::GradientFill, rect);
  RecordBuilder tri;
  tri.Rect({0, 0, 0, 0}).U32(3).U32(1).U32(2 /* GRADIENT_FILL_TRIANGLE */);
  tri.Bytes(Vertex(0, 20, 0, 0xFF00, 0).bytes()).Bytes(Vertex(60, 20, 0, 0xFF00, 0).bytes());
  tri.Bytes(Vertex(0, 80, 0, 0xFF00, 0).bytes()).U32(0).U32(1).U32(2);
  w.Record(RecordType::GradientFill, tri);
  RecordBuilder bad;
  bad.Rect({0, 0, 0, 0}).U32(2).U32(1).U32(0).Bytes(Vertex(0, 0, 0, 0, 0).bytes());
  bad.Bytes(Vertex(9, 9, 0, 0, 0).bytes()).U32(0).U32(7);  // vertex 7 does not exist
  w.Record(RecordType::GradientFill, bad);
  const Played p = Play(w);
  // Red rises across the rectangle from exactly the first colour.
  EXPECT_EQ(p.surface.PixelColorRef(0, 5), 0x000000u);
  EXPECT_NEAR(static_cast<int>(p.surface.PixelColorRef(50, 5) & 0xFF), 128, 2);
  EXPECT_GE(static_cast<int>(p.surface.PixelColorRef(99, 5) & 0xFF), 250);
  EXPECT_EQ(p.surface.PixelColorRef(50, 10), kWhite);
  // The triangle is green inside and leaves its outside alone.
  EXPECT_EQ(p.surface.PixelColorRef(10, 30), kGreen);
  EXPECT_EQ(p.surface.PixelColorRef(50, 70), kWhite);
  EXPECT_EQ(p.report.records.at(static_cast<std::uint32_t>(RecordType::GradientFill)).played, 2u);
  EXPECT_EQ(p.report.records.at(static_cast<std::uint32_t>(RecordType::GradientFill)).malformed, 1u);
}

TEST(PlayShapes, BrokenShapeRecordsAreCountedNotDrawn) {
  EmfWriter w = RedBrush();
  RecordBuilder b;
  b.Rect({0, 0, 10, 10}).U32(1000).I16(0).I16(0).I16(10).I16(0).I16(10).I16(10);  // 1000 points claimed, 3 given
  w.Record(RecordType::Polygon16, b);
  w.SelectObject(99);  // never created
  w.Record(200u);      // no such record type
  const Played p = Play(w);
  EXPECT_EQ(p.report.records.at(static_cast<std::uint32_t>(RecordType::Polygon16)).malformed, 1u);
  EXPECT_EQ(p.report.records.at(static_cast<std::uint32_t>(RecordType::SelectObject)).malformed, 1u);
  EXPECT_EQ(p.report.records.at(200u).unhandled, 1u);
  EXPECT_EQ(CountColor(p.surface, kRed, {0, 0, 100, 100}), 0);
}

}  // namespace
}  // namespace pw::gdi::test
