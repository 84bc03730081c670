#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "render/background.h"
#include "render/hatch_preview.h"
#include "tests/render/recording_canvas.h"

namespace pw::render {
namespace {

using testing::Call;
using testing::RecordingCanvas;

BackgroundOptions Style(int style) {
  BackgroundOptions o;
  o.lvBkGrHathStyle = style;
  o.lvCurBkGrColor = 0x00112233;
  o.lvHatchColor = 0x00445566;
  o.lvHatchWidth = 2;
  return o;
}

const PageRect kSmall{0, 0, 20, 10};

TEST(Background, SolidAndNoneStylesOnlyFill) {
  RecordingCanvas solid;
  DrawBackground(solid, kSmall, 0, Style(99), 3);
  ASSERT_EQ(solid.calls.size(), 1u);
  EXPECT_EQ(solid.calls[0].kind, Call::Fill);
  EXPECT_EQ(solid.calls[0].color, 0x00112233u);

  for (int style : {100, 101, 5000}) {
    RecordingCanvas none;
    DrawBackground(none, kSmall, 0, Style(style), 3);
    ASSERT_EQ(none.calls.size(), 1u) << style;
    EXPECT_EQ(none.calls[0].color, 0x00FFFFFFu) << style;
  }
}

TEST(Background, StylesWithoutPatternFillWithTheColourAndDrawNothing) {
  for (int style : {2, 3, 6, 98, -1, -100}) {
    RecordingCanvas canvas;
    DrawBackground(canvas, kSmall, 0, Style(style), 3);
    ASSERT_EQ(canvas.calls.size(), 3u) << style;
    EXPECT_EQ(canvas.calls[0], (Call{Call::Fill, {{0, 0}, {20, 10}}, 0, 0x00112233}));
    EXPECT_EQ(canvas.calls[1], (Call{Call::Pen, {}, 6, 0x00445566}));  // width 2 x factor 3
    EXPECT_EQ(canvas.calls[2].kind, Call::Restore);
  }
}

TEST(Background, StraightLinesAtAngleZero) {
  RecordingCanvas canvas;
  DrawBackground(canvas, kSmall, 0, Style(4), 1);
  // n = trunc(sqrt(500) + 5) = 27 lines each side; c = trunc((3 - 2.5) x 8 x 0.5) = 2.
  const auto segments = canvas.Segments();
  ASSERT_EQ(segments.size(), 2u * 55);
  EXPECT_EQ(segments[0].first, (DevicePoint{-218, -27}));
  EXPECT_EQ(segments[0].second, (DevicePoint{-218, 37}));
  EXPECT_EQ(segments[1].first, (DevicePoint{-27, 218}));  // (y, -x)
  EXPECT_EQ(segments[1].second, (DevicePoint{37, 218}));
  EXPECT_EQ(segments[2].first, (DevicePoint{-210, -27}));  // next line, spacing 8
  EXPECT_EQ(segments.back().first, (DevicePoint{-27, -214}));
  EXPECT_EQ(canvas.calls.back().kind, Call::Restore);
}

TEST(Background, FactorScalesThePatternAndTheBandOffsetShiftsIt) {
  RecordingCanvas canvas;
  // Band two of a page 60 x 30 drawing pixels at factor 3 (o = 12).
  const PageRect band{0, -12, 60, 18};
  BackgroundOptions o = Style(4);
  o.lvHatchLnHor = false;
  DrawBackground(canvas, band, 12, o, 3);
  // n = trunc(sqrt(4500) x 3 + 5) = 206; c = trunc((8 - 7.5) x 8 x 0.5) = 2.
  const auto segments = canvas.Segments();
  ASSERT_EQ(segments.size(), 413u);
  const int x = (-2 - 206 * 8) * 3;
  EXPECT_EQ(segments[0].first, (DevicePoint{x, (-12 - 206) * 3 - 12}));
  EXPECT_EQ(segments[0].second, (DevicePoint{x, (18 + 206) * 3 - 12}));
}

TEST(Background, QuarterTurnIsExactAndOtherAnglesRotate) {
  BackgroundOptions o = Style(4);
  o.lvHatchAngle = 90;
  o.lvHatchLnHor = false;
  RecordingCanvas right;
  DrawBackground(right, kSmall, 0, o, 2);
  // n = trunc(sqrt(500) x 2 + 5) = 49: x = -2 - 49 x 8 = -394, y1 = -49.
  EXPECT_EQ(right.Segments()[0].first, (DevicePoint{-49 * 2, 394 * 2}));

  o.lvHatchAngle = 30;
  RecordingCanvas tilted;
  DrawBackground(tilted, kSmall, 0, o, 1);
  const auto s = tilted.Segments()[0];
  // Rotating (-218, -27) by 30 degrees: (x cos + y sin, y cos - x sin).
  const double t = 30 * 3.141592653589793 / 180;
  EXPECT_EQ(s.first.x, static_cast<int>(std::trunc(-218 * std::cos(t) - 27 * std::sin(t))));
  EXPECT_EQ(s.first.y, static_cast<int>(std::trunc(-27 * std::cos(t) + 218 * std::sin(t))));
}

TEST(Background, ZeroSpacingIsDrawnAsOne) {
  BackgroundOptions o = Style(4);
  o.lvHatchDepress = 0;
  RecordingCanvas canvas;
  DrawBackground(canvas, kSmall, 0, o, 1);
  const auto segments = canvas.Segments();
  ASSERT_EQ(segments.size(), 110u);
  EXPECT_EQ(segments[2].first.x - segments[0].first.x, 1);

  o.lvBkGrHathStyle = 5;
  RecordingCanvas squares;
  DrawBackground(squares, kSmall, 0, o, 1);
  EXPECT_GT(squares.Count(Call::Move), 0u);
}

TEST(Background, WavesAndBraidsCoverTheirRows) {
  RecordingCanvas waves;
  DrawBackground(waves, kSmall, 0, Style(1), 1);
  ASSERT_EQ(waves.Count(Call::Bezier), 55u * 2 * 22);
  const Call& first = waves.calls[2];
  ASSERT_EQ(first.kind, Call::Bezier);
  // Row -27 (y = -486), phase 0, cell -1.
  EXPECT_EQ(first.points, (std::vector<DevicePoint>{{-50, -436}, {-34, -386}, {-17, -486}, {0, -436}}));

  RecordingCanvas braids;
  DrawBackground(braids, kSmall, 0, Style(0), 1);
  ASSERT_EQ(braids.Count(Call::Bezier), 55u * 36 * 2);
  const Call& curve = braids.calls[2];
  // Row -27 (t = -1300), cell -5 (xb = trunc(-1000 / 3) = -333).
  EXPECT_EQ(curve.points, (std::vector<DevicePoint>{{-349, -1300}, {-321, -1300}, {-321, -1284},
                                                    {-333, -1275}, {-345, -1267}, {-345, -1250},
                                                    {-317, -1250}}));
}

TEST(Background, TiltedSquaresAreClosedAndSized) {
  RecordingCanvas canvas;
  DrawBackground(canvas, PageRect{0, 0, 40, 24}, 0, Style(5), 1);
  // Rows -1 ... 4 and columns -1 ... 6 pass the bounds: 48 squares.
  ASSERT_EQ(canvas.Count(Call::Move), 48u);
  ASSERT_EQ(canvas.Count(Call::Line), 48u * 4);
  const auto segments = canvas.Segments();
  for (std::size_t q = 0; q < segments.size(); q += 4) {
    EXPECT_EQ(segments[q].first, segments[q + 3].second);
    for (std::size_t e = q; e < q + 4; ++e) {
      const double len = std::hypot(segments[e].second.x - segments[e].first.x,
                                    segments[e].second.y - segments[e].first.y);
      EXPECT_NEAR(len, 7.0, 2.9);  // hi - lo = 4 - (-3), corners truncated
    }
  }
}

TEST(Background, QuickStartReferenceDrawsItsOwnGrid) {
  BackgroundOptions o = Style(99);
  o.quick_start = true;
  o.lvHatchLnVert = false;
  o.lvHatchAngle = 45;
  RecordingCanvas canvas;
  DrawBackground(canvas, kSmall, 0, o, 3);
  EXPECT_EQ(canvas.calls[0].color, kQuickStartFill);
  EXPECT_EQ(canvas.calls[1], (Call{Call::Pen, {}, 3, kQuickStartGrid}));
  const auto segments = canvas.Segments();
  ASSERT_GE(segments.size(), 4u);
  EXPECT_EQ(segments[0].first.x, segments[0].second.x);  // vertical, whatever the angle
  EXPECT_EQ(segments[2].first.x - segments[0].first.x, 30);  // spacing 10 x factor 3
  EXPECT_EQ(segments[1].first.y, segments[1].second.y);  // and horizontal
}

// Distance from the rectangle [0, w] x [0, h] to a segment is more than d.
bool SegmentFarFrom(DevicePoint a, DevicePoint b, int w, int h, double d) {
  const int steps = 4000;
  for (int i = 0; i <= steps; ++i) {
    const double t = double(i) / steps;
    const double x = a.x + (b.x - a.x) * t, y = a.y + (b.y - a.y) * t;
    const double dx = std::max({0.0, -x, x - w}), dy = std::max({0.0, -y, y - h});
    if (std::hypot(dx, dy) <= d) return false;
  }
  return true;
}

TEST(Background, SkippingInvisiblePartsKeepsEverythingThatCanShow) {
  const VisibleArea area{120, 40};
  const int offset = 80;
  const PageRect rect{0, -offset, 120, 300 - offset};
  for (int style : {4, 1, 0, 5}) {
    for (int angle : {0, 30, 90, 135}) {
      BackgroundOptions o = Style(style);
      o.lvHatchAngle = angle;
      o.lvHatchWidth = 3;
      RecordingCanvas all, culled;
      DrawBackground(all, rect, offset, o, 2);
      DrawBackground(culled, rect, offset, o, 2, {}, area);
      ASSERT_LT(culled.calls.size(), all.calls.size()) << style << " " << angle;
      // The culled calls are the full list with some primitives left out, in order...
      std::size_t at = 0;
      for (const Call& c : culled.calls) {
        while (at < all.calls.size() && !(all.calls[at] == c)) ++at;
        ASSERT_LT(at, all.calls.size()) << "style " << style << " angle " << angle;
        ++at;
      }
      // ...and what was left out lies wholly outside the visible area.
      if (style == 4 || style == 5) {
        const auto kept = culled.Segments();
        for (const auto& seg : all.Segments()) {
          const bool drawn = std::find(kept.begin(), kept.end(), seg) != kept.end();
          if (!drawn) {
            EXPECT_TRUE(SegmentFarFrom(seg.first, seg.second, area.width, area.height, 3.0));
          }
        }
      }
    }
  }
}

TEST(HatchPreview, UsesTheWorkingValuesAtFactorOne) {
  HatchWorkingValues working;
  working.background_color = 0x000000FF;
  working.hatch_color = 0x0000FF00;
  working.width = 1;
  working.spacing = 8;
  working.horizontal_lines = false;
  RecordingCanvas canvas;
  DrawLineHatchPreview(canvas, kSmall, 5, -1, -1, -1, working);
  EXPECT_EQ(canvas.calls[0], (Call{Call::Fill, {{0, 0}, {20, 10}}, 0, 0x000000FF}));
  EXPECT_EQ(canvas.calls[1], (Call{Call::Pen, {}, 1, 0x0000FF00}));
  const auto segments = canvas.Segments();
  ASSERT_EQ(segments.size(), 55u);
  EXPECT_EQ(segments[0].first, (DevicePoint{-218, -27 - 5}));
  EXPECT_EQ(segments[0].second, (DevicePoint{-218, 37 - 5}));
  EXPECT_EQ(canvas.calls.back().kind, Call::Restore);
}

TEST(HatchPreview, NinetyDegreesGoesThroughTheRotationFormula) {
  HatchWorkingValues working;
  working.angle = 90;
  working.spacing = 0;  // drawn as 1
  working.horizontal_lines = false;
  RecordingCanvas canvas;
  DrawLineHatchPreview(canvas, kSmall, 0, 2, -1, -1, working);
  const auto segments = canvas.Segments();
  ASSERT_EQ(segments.size(), 55u);
  // Line k = 0: x = 0 - c with c = 0 for spacing 1; (0, -27) turns to
  // trunc(-27 sin 90) = -27 and trunc(-27 cos 90) = 0: a horizontal line.
  EXPECT_EQ(segments[27].first.y, segments[27].second.y);
}

}  // namespace
}  // namespace pw::render
