// Bitmap records played through PlayMetafile, checked pixel by pixel where
// GDI's result is exactly known.
#include <gtest/gtest.h>

#include "tests/gdi_bitmaps/bitmap_records.h"

namespace pw::test {
namespace {

using gdi::EmfWriter;
using gdi::RecordType;

constexpr QRgb kWhite = 0xFFFFFFFF, kBlack = 0xFF000000, kRed = 0xFFFF0000, kGreen = 0xFF00FF00,
               kBlue = 0xFF0000FF;

QRgb At(const Played& played, int x, int y) { return played.image.pixel(x, y); }

std::uint32_t PlayedCount(const Played& p, RecordType type) {
  const auto it = p.report.records.find(static_cast<std::uint32_t>(type));
  return it == p.report.records.end() ? 0 : it->second.played;
}
std::uint32_t Malformed(const Played& p, RecordType type) {
  const auto it = p.report.records.find(static_cast<std::uint32_t>(type));
  return it == p.report.records.end() ? 0 : it->second.malformed;
}

const TestDib kTwoByTwo = Dib24(2, 2, {0xFF0000, 0x00FF00,    // top: red green
                                       0x0000FF, 0x000000});  // bottom: blue black

TEST(BitmapRecords, StretchDIBitsOneToOneLandsExactly) {
  EmfWriter w;
  w.Record(RecordType::StretchDiBits, StretchDIBitsRecord({10, 20, 2, 2}, {0, 0, 2, 2}, kTwoByTwo));
  const auto p = Play(w);
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(PlayedCount(p, RecordType::StretchDiBits), 1u);
  EXPECT_EQ(At(p, 10, 20), kRed);
  EXPECT_EQ(At(p, 11, 20), kGreen);
  EXPECT_EQ(At(p, 10, 21), kBlue);
  EXPECT_EQ(At(p, 11, 21), kBlack);
  // Nothing outside the destination.
  for (auto [x, y] : {std::pair{9, 20}, {12, 20}, {10, 19}, {10, 22}}) EXPECT_EQ(At(p, x, y), kWhite);
}

TEST(BitmapRecords, StretchDIBitsDoublesEveryPixel) {
  EmfWriter w;
  w.Record(RecordType::StretchDiBits, StretchDIBitsRecord({0, 0, 4, 4}, {0, 0, 2, 2}, kTwoByTwo));
  const auto p = Play(w);
  const QRgb expected[4][4] = {{kRed, kRed, kGreen, kGreen},
                               {kRed, kRed, kGreen, kGreen},
                               {kBlue, kBlue, kBlack, kBlack},
                               {kBlue, kBlue, kBlack, kBlack}};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(At(p, x, y), expected[y][x]) << x << "," << y;
  EXPECT_EQ(At(p, 4, 0), kWhite);
  EXPECT_EQ(At(p, 0, 4), kWhite);
}

TEST(BitmapRecords, StretchDIBitsSourceRowsCountFromTheBottomOfABottomUpDib) {
  const TestDib column = Dib24(1, 3, {0xFF0000, 0x00FF00, 0x0000FF});  // red top, blue bottom
  EmfWriter w;
  // ySrc 0, height 1 of a bottom-up DIB is its bottom row.
  w.Record(RecordType::StretchDiBits, StretchDIBitsRecord({5, 5, 1, 1}, {0, 0, 1, 1}, column));
  w.Record(RecordType::StretchDiBits, StretchDIBitsRecord({6, 5, 1, 1}, {0, 2, 1, 1}, column));
  // A top-down DIB counts from the top.
  TestDib top_down = column;
  top_down.info = InfoHeader(1, -3, 24);
  w.Record(RecordType::StretchDiBits, StretchDIBitsRecord({7, 5, 1, 1}, {0, 0, 1, 1}, top_down));
  const auto p = Play(w);
  EXPECT_EQ(At(p, 5, 5), kBlue);
  EXPECT_EQ(At(p, 6, 5), kRed);
  EXPECT_EQ(At(p, 7, 5), kBlue) << "rows of the top-down DIB are stored bottom row first here";
}

TEST(BitmapRecords, NegativeDestinationExtentMirrors) {
  const TestDib row = Dib24(3, 1, {0xFF0000, 0x00FF00, 0x0000FF});
  EmfWriter w;
  // A mirrored destination starts at x and runs left: pixels 10, 9, 8.
  w.Record(RecordType::StretchDiBits, StretchDIBitsRecord({10, 0, -3, 1}, {0, 0, 3, 1}, row));
  const auto p = Play(w);
  EXPECT_EQ(At(p, 10, 0), kRed);
  EXPECT_EQ(At(p, 9, 0), kGreen);
  EXPECT_EQ(At(p, 8, 0), kBlue);
  EXPECT_EQ(At(p, 7, 0), kWhite);
  EXPECT_EQ(At(p, 11, 0), kWhite);
}

TEST(BitmapRecords, BitBltCopiesAndWithoutABitmapFillsWithTheBrush) {
  EmfWriter w;
  w.CreateBrush(1, gdi::BrushStyle::Solid, 0x0000FF00 /* green */);
  w.SelectObject(1);
  w.Record(RecordType::BitBlt, BltRecord({0, 0, 5, 3}, Rop(gdi::Rop3::PatCopy), 0, 0, nullptr));
  w.Record(RecordType::BitBlt, BltRecord({20, 20, 2, 2}, Rop(gdi::Rop3::SrcCopy), 0, 0, &kTwoByTwo));
  w.Record(RecordType::BitBlt, BltRecord({0, 10, 5, 3}, Rop(gdi::Rop3::DstInvert), 0, 0, nullptr));
  const auto p = Play(w);
  EXPECT_EQ(PlayedCount(p, RecordType::BitBlt), 3u);
  EXPECT_EQ(At(p, 0, 0), kGreen);
  EXPECT_EQ(At(p, 4, 2), kGreen);
  EXPECT_EQ(At(p, 5, 0), kWhite) << "the right edge is excluded";
  EXPECT_EQ(At(p, 0, 3), kWhite) << "the bottom edge is excluded";
  EXPECT_EQ(At(p, 20, 20), kRed);
  EXPECT_EQ(At(p, 21, 21), kBlack);
  EXPECT_EQ(At(p, 2, 11), kBlack) << "white inverted";
}

TEST(BitmapRecords, SourceRopsCombineWithTheDestination) {
  EmfWriter w;
  w.CreateBrush(1, gdi::BrushStyle::Solid, 0x000000FF /* red */);
  w.SelectObject(1);
  w.Record(RecordType::BitBlt, BltRecord({0, 0, 2, 2}, Rop(gdi::Rop3::PatCopy), 0, 0, nullptr));
  w.Record(RecordType::BitBlt, BltRecord({0, 0, 2, 2}, Rop(gdi::Rop3::SrcAnd), 0, 0, &kTwoByTwo));
  w.Record(RecordType::BitBlt, BltRecord({4, 0, 2, 2}, Rop(gdi::Rop3::SrcInvert), 0, 0, &kTwoByTwo));
  // S ? D : P with a black and white source, the way transparent masks are drawn.
  const TestDib mono = Dib24(2, 1, {0x000000, 0xFFFFFF});
  w.Record(RecordType::BitBlt, BltRecord({8, 0, 2, 1}, Rop(gdi::Rop3::Pdspdxax), 0, 0, &mono));
  const auto p = Play(w);
  EXPECT_EQ(At(p, 0, 0), kRed);    // red & red
  EXPECT_EQ(At(p, 1, 0), kBlack);  // red & green
  EXPECT_EQ(At(p, 4, 0), 0xFF00FFFFu);  // white ^ red
  EXPECT_EQ(At(p, 5, 1), kWhite);       // white ^ black
  EXPECT_EQ(At(p, 8, 0), kRed) << "source black takes the brush";
  EXPECT_EQ(At(p, 9, 0), kWhite) << "source white keeps the destination";
}

TEST(BitmapRecords, StretchModesReduceDifferently) {
  const TestDib row = Dib24(4, 1, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
  const Rect4 extent{0, 0, 4, 1};
  EmfWriter w;
  w.SetStretchBltMode(gdi::StretchBltMode::ColorOnColor);  // last pixel of each run
  w.Record(RecordType::StretchBlt, BltRecord({0, 0, 2, 1}, Rop(gdi::Rop3::SrcCopy), 0, 0, &row, extent));
  w.SetStretchBltMode(gdi::StretchBltMode::BlackOnWhite);  // AND of each run
  w.Record(RecordType::StretchBlt, BltRecord({0, 1, 2, 1}, Rop(gdi::Rop3::SrcCopy), 0, 0, &row, extent));
  w.SetStretchBltMode(gdi::StretchBltMode::WhiteOnBlack);  // OR of each run
  w.Record(RecordType::StretchBlt, BltRecord({0, 2, 2, 1}, Rop(gdi::Rop3::SrcCopy), 0, 0, &row, extent));
  const auto p = Play(w);
  EXPECT_EQ(At(p, 0, 0), kGreen);
  EXPECT_EQ(At(p, 1, 0), kWhite);
  EXPECT_EQ(At(p, 0, 1), kBlack);
  EXPECT_EQ(At(p, 1, 1), kBlue);
  EXPECT_EQ(At(p, 0, 2), 0xFFFFFF00u);
  EXPECT_EQ(At(p, 1, 2), kWhite);
}

TEST(BitmapRecords, HalftoneInterpolatesBetweenNeighbours) {
  const TestDib ramp = Dib24(2, 1, {0x000000, 0xFFFFFF});
  EmfWriter w;
  w.SetStretchBltMode(gdi::StretchBltMode::Halftone);
  w.Record(RecordType::StretchDiBits, StretchDIBitsRecord({0, 0, 4, 1}, {0, 0, 2, 1}, ramp));
  w.SetStretchBltMode(gdi::StretchBltMode::ColorOnColor);
  w.Record(RecordType::StretchDiBits, StretchDIBitsRecord({0, 1, 4, 1}, {0, 0, 2, 1}, ramp));
  const auto p = Play(w);
  // Pixel i samples the source at i / 2: 0, ½ (half way), 1, 1½ (edge repeats).
  EXPECT_EQ(At(p, 0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(At(p, 1, 0), qRgb(128, 128, 128));
  EXPECT_EQ(At(p, 2, 0), kWhite);
  EXPECT_EQ(At(p, 3, 0), kWhite);
  // COLORONCOLOR replicates.
  EXPECT_EQ(At(p, 1, 1), kBlack);
  EXPECT_EQ(At(p, 2, 1), kWhite);
}

TEST(BitmapRecords, ClipAndWorldTransformApply) {
  EmfWriter w;
  w.SaveDc();
  w.IntersectClipRect({0, 0, 11, 100});
  w.Record(RecordType::StretchDiBits, StretchDIBitsRecord({10, 0, 2, 2}, {0, 0, 2, 2}, kTwoByTwo));
  w.RestoreDc(-1);
  const float scale[6] = {3, 0, 0, 3, 0, 0};
  w.SetWorldTransform(scale);
  w.Record(RecordType::BitBlt, BltRecord({10, 10, 2, 2}, Rop(gdi::Rop3::SrcCopy), 0, 0, &kTwoByTwo));
  const auto p = Play(w);
  EXPECT_EQ(At(p, 10, 0), kRed);
  EXPECT_EQ(At(p, 11, 0), kWhite) << "outside the clip";
  // Logical (10,10)-(12,12) is device (30,30)-(36,36): 3 × 3 per source pixel.
  EXPECT_EQ(At(p, 30, 30), kRed);
  EXPECT_EQ(At(p, 32, 32), kRed);
  EXPECT_EQ(At(p, 33, 32), kGreen);
  EXPECT_EQ(At(p, 35, 35), kBlack);
  EXPECT_EQ(At(p, 36, 35), kWhite);
}

TEST(BitmapRecords, RotatedBlitsFollowTheTransform) {
  EmfWriter w;
  // 90° clockwise on screen: logical x runs down, logical y runs left.
  const float rotate[6] = {0, 1, -1, 0, 50, 10};
  w.SetWorldTransform(rotate);
  const TestDib row = Dib24(3, 1, {0xFF0000, 0x00FF00, 0x0000FF});
  w.Record(RecordType::StretchDiBits, StretchDIBitsRecord({0, 0, 3, 1}, {0, 0, 3, 1}, row));
  const auto p = Play(w);
  // Logical (x + 0.5, 0.5) lands on device (49.5, 10.5 + x).
  EXPECT_EQ(At(p, 49, 10), kRed);
  EXPECT_EQ(At(p, 49, 11), kGreen);
  EXPECT_EQ(At(p, 49, 12), kBlue);
  EXPECT_EQ(At(p, 50, 11), kWhite);
  EXPECT_EQ(At(p, 49, 13), kWhite);
}

TEST(BitmapRecords, PlgBltMapsOntoTheParallelogram) {
  EmfWriter w;
  // Upper-left (40, 10), upper-right (40, 14), lower-left (36, 10): the
  // 2 × 2 source turned a quarter clockwise and doubled.
  w.Record(RecordType::PlgBlt, PlgBltRecord({gdi::PointL{40, 10}, {40, 14}, {36, 10}}, {0, 0, 2, 2}, kTwoByTwo));
  const auto p = Play(w);
  EXPECT_EQ(PlayedCount(p, RecordType::PlgBlt), 1u);
  // Source row 0 (red, green) runs down the column just left of x = 40.
  EXPECT_EQ(At(p, 39, 10), kRed);
  EXPECT_EQ(At(p, 38, 11), kRed);
  EXPECT_EQ(At(p, 39, 12), kGreen);
  EXPECT_EQ(At(p, 38, 13), kGreen);
  // Source row 1 (blue, black) further left.
  EXPECT_EQ(At(p, 37, 10), kBlue);
  EXPECT_EQ(At(p, 36, 13), kBlack);
  EXPECT_EQ(At(p, 40, 11), kWhite);
  EXPECT_EQ(At(p, 35, 11), kWhite);
  EXPECT_EQ(At(p, 38, 14), kWhite);
}

TEST(BitmapRecords, AlphaBlendConstantAndPerPixelHalfAlpha) {
  EmfWriter w;
  const TestDib red = Dib32(1, 1, {0xFFFF0000});
  // SourceConstantAlpha 128, no per-pixel alpha: red at half over white.
  w.Record(RecordType::AlphaBlend, BltRecord({0, 0, 1, 1}, 0x00800000, 0, 0, &red, Rect4{0, 0, 1, 1}));
  // Premultiplied half-transparent red (128, 0, 0, alpha 128) with AC_SRC_ALPHA.
  const TestDib half = Dib32(3, 1, {0x80800000, 0x00000000, 0xFF00FF00});
  w.Record(RecordType::AlphaBlend, BltRecord({2, 0, 3, 1}, 0x01FF0000, 0, 0, &half, Rect4{0, 0, 3, 1}));
  const auto p = Play(w);
  EXPECT_EQ(PlayedCount(p, RecordType::AlphaBlend), 2u);
  EXPECT_EQ(At(p, 0, 0), qRgb(255, 127, 127));
  EXPECT_EQ(At(p, 2, 0), qRgb(255, 127, 127));
  EXPECT_EQ(At(p, 3, 0), kWhite) << "alpha 0 leaves the destination";
  EXPECT_EQ(At(p, 4, 0), kGreen) << "alpha 255 covers it";
}

TEST(BitmapRecords, AlphaBlendRefusesWhatGdiRefuses) {
  EmfWriter w;
  // Per-pixel alpha needs a 32-bit source; the source rectangle must lie in the bitmap.
  w.Record(RecordType::AlphaBlend, BltRecord({0, 0, 2, 2}, 0x01FF0000, 0, 0, &kTwoByTwo, Rect4{0, 0, 2, 2}));
  const TestDib red = Dib32(1, 1, {0xFFFF0000});
  w.Record(RecordType::AlphaBlend, BltRecord({5, 0, 2, 1}, 0x00FF0000, 0, 0, &red, Rect4{0, 0, 2, 1}));
  const auto p = Play(w);
  EXPECT_EQ(PlayedCount(p, RecordType::AlphaBlend), 0u);
  EXPECT_EQ(At(p, 0, 0), kWhite);
  EXPECT_EQ(At(p, 5, 0), kWhite);
}

TEST(BitmapRecords, TransparentBltLeavesTheKeyColourOut) {
  EmfWriter w;
  w.Record(RecordType::TransparentBlt,
           BltRecord({0, 0, 2, 2}, 0x0000FF00 /* green */, 0, 0, &kTwoByTwo, Rect4{0, 0, 2, 2}));
  const auto p = Play(w);
  EXPECT_EQ(At(p, 0, 0), kRed);
  EXPECT_EQ(At(p, 1, 0), kWhite);
  EXPECT_EQ(At(p, 0, 1), kBlue);
}

TEST(BitmapRecords, SetDIBitsToDeviceDrawsTheScanLinesGiven) {
  // Scan lines 1 and 2 (from the bottom) of a 1 × 4 bottom-up DIB.
  TestDib part = Dib24(1, 2, {0x00FF00, 0x0000FF});  // line 2 green above line 1 blue
  part.info = InfoHeader(1, 4, 24);
  EmfWriter w;
  w.Record(RecordType::SetDiBitsToDevice, SetDIBitsRecord(30, 40, {0, 0, 1, 4}, 1, 2, part));
  const auto p = Play(w);
  EXPECT_EQ(PlayedCount(p, RecordType::SetDiBitsToDevice), 1u);
  // The destination's rows are lines 3 … 0 from the top; only 2 and 1 exist.
  EXPECT_EQ(At(p, 30, 40), kWhite);
  EXPECT_EQ(At(p, 30, 41), kGreen);
  EXPECT_EQ(At(p, 30, 42), kBlue);
  EXPECT_EQ(At(p, 30, 43), kWhite);
}

TEST(BitmapRecords, MaskBltChoosesTheOperationByMaskBit) {
  const TestDib source = Dib24(2, 1, {0xFF0000, 0xFF0000});
  TestDib mask = Dib24(2, 1, {0xFFFFFF, 0x000000});
  EmfWriter w;
  // Foreground SRCCOPY where the mask is 1, background no-op (0xAA) where 0.
  w.Record(RecordType::MaskBlt, MaskBltRecord({0, 0, 2, 1}, 0xAACC0020, &source, &mask));
  w.Record(RecordType::MaskBlt, MaskBltRecord({0, 5, 2, 1}, 0xAACC0020, &source, nullptr));
  const auto p = Play(w);
  EXPECT_EQ(At(p, 0, 0), kRed);
  EXPECT_EQ(At(p, 1, 0), kWhite);
  EXPECT_EQ(At(p, 1, 5), kRed) << "without a mask it is a plain BitBlt";
}

TEST(BitmapRecords, RleSkippedPixelsKeepTheDestination) {
  Bytes info = InfoHeader(3, 1, 8, 1, 2);
  PutQuads(info, {0x000000, 0x0000FF});
  const Bytes rle = Raw({1, 1, 0, 2, 1, 0, 1, 1, 0, 1});  // blue, skip one, blue
  EmfWriter w;
  w.CreateBrush(1, gdi::BrushStyle::Solid, 0x000000FF);
  w.SelectObject(1);
  w.Record(RecordType::BitBlt, BltRecord({0, 0, 3, 1}, Rop(gdi::Rop3::PatCopy), 0, 0, nullptr));
  w.Record(RecordType::StretchDiBits, StretchDIBitsRecord({0, 0, 3, 1}, {0, 0, 3, 1}, TestDib{info, rle}));
  const auto p = Play(w);
  EXPECT_EQ(At(p, 0, 0), kBlue);
  EXPECT_EQ(At(p, 1, 0), kRed) << "the delta skipped it";
  EXPECT_EQ(At(p, 2, 0), kBlue);
}

TEST(BitmapRecords, BitmapFieldsOutsideTheRecordAreRefused) {
  EmfWriter w;
  auto past_end = StretchDIBitsRecord({0, 0, 2, 2}, {0, 0, 2, 2}, kTwoByTwo);
  w.Record(RecordType::StretchDiBits, past_end);
  const std::size_t at = w.RecordOffset(1);
  w.CorruptU32(at + 60, 0x7FFFFFFF);  // cbBitsSrc far past the record
  w.Record(RecordType::StretchDiBits, past_end);
  w.CorruptU32(w.RecordOffset(2) + 48, 0xFFFFFFF0);  // offBmiSrc wraps around
  w.Record(RecordType::BitBlt, BltRecord({0, 0, 2, 2}, Rop(gdi::Rop3::SrcCopy), 0, 0, &kTwoByTwo));
  w.CorruptU32(w.RecordOffset(3) + 88, 4);  // cbBmiSrc too small for a header
  const auto p = Play(w);
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(Malformed(p, RecordType::StretchDiBits), 2u);
  EXPECT_EQ(Malformed(p, RecordType::BitBlt), 1u);
  EXPECT_EQ(At(p, 0, 0), kWhite);
  EXPECT_EQ(At(p, 1, 1), kWhite);
}

TEST(BitmapRecords, AbsurdExtentsDrawNothingAndDoNotHang) {
  EmfWriter w;
  w.Record(RecordType::StretchDiBits,
           StretchDIBitsRecord({-2000000000, 0, 2000000000, 2000000000}, {0, 0, 2, 2}, kTwoByTwo));
  w.Record(RecordType::StretchDiBits,
           StretchDIBitsRecord({0, 0, 50, 50}, {-2000000000, 0, 2000000000, 2}, kTwoByTwo));
  const auto refused = Play(w);
  ASSERT_TRUE(refused.ok);
  EXPECT_EQ(At(refused, 10, 10), kWhite);

  // Huge but representable: only the visible part is computed.
  EmfWriter huge;
  huge.Record(RecordType::StretchDiBits,
              StretchDIBitsRecord({0, 0, 1000000000, 1000000000}, {0, 0, 2, 2}, kTwoByTwo));
  const auto p = Play(huge);
  EXPECT_EQ(PlayedCount(p, RecordType::StretchDiBits), 1u);
  EXPECT_EQ(At(p, 99, 99), kRed) << "the first source pixel covers the whole surface";
}

}  // namespace
}  // namespace pw::test

namespace pw::test {
namespace {

TEST(BitmapRecords, PatternFillsStayInsideAClipPath) {
  EmfWriter w;
  w.Record(RecordType::BeginPath);
  w.Rectangle({10, 10, 20, 20});
  w.Record(RecordType::EndPath);
  w.Words(RecordType::SelectClipPath, {5});  // RGN_COPY
  w.CreateBrush(1, gdi::BrushStyle::Solid, 0x000000FF);
  w.SelectObject(1);
  w.Record(RecordType::StretchBlt, BltRecord({0, 0, 40, 40}, Rop(gdi::Rop3::PatCopy), 0, 0, nullptr, Rect4{0, 0, 0, 0}));
  // The way Office draws gradients: each shape's clip path in its own save level.
  w.SaveDc();
  w.Record(RecordType::BeginPath);
  w.Rectangle({50, 10, 60, 20});
  w.Record(RecordType::EndPath);
  w.Words(RecordType::SelectClipPath, {5});
  w.Record(RecordType::BitBlt, BltRecord({40, 0, 40, 40}, Rop(gdi::Rop3::PatCopy), 0, 0, nullptr));
  w.RestoreDc(-1);
  w.Record(RecordType::BeginPath);
  w.Rectangle({50, 10, 60, 20});
  w.Record(RecordType::EndPath);
  w.Record(RecordType::StrokePath, gdi::RecordBuilder().Rect({0, 0, 100, 100}));
  w.SaveDc();
  w.Record(RecordType::BeginPath);
  w.Rectangle({70, 50, 80, 60});
  w.Record(RecordType::EndPath);
  w.Words(RecordType::SelectClipPath, {5});
  w.Record(RecordType::BitBlt, BltRecord({60, 40, 40, 40}, Rop(gdi::Rop3::PatCopy), 0, 0, nullptr));
  w.RestoreDc(-1);
  const auto p = Play(w);
  EXPECT_EQ(p.image.pixel(15, 15), 0xFFFF0000u);
  EXPECT_EQ(p.image.pixel(5, 5), 0xFFFFFFFFu);
  EXPECT_EQ(p.image.pixel(30, 30), 0xFFFFFFFFu);
  EXPECT_EQ(p.image.pixel(55, 15), 0xFFFF0000u);
  EXPECT_EQ(p.image.pixel(45, 5), 0xFFFFFFFFu);
  EXPECT_EQ(p.image.pixel(75, 55), 0xFFFF0000u);
  EXPECT_EQ(p.image.pixel(65, 45), 0xFFFFFFFFu) << "second clip path, after a restore";
  EXPECT_EQ(p.image.pixel(90, 70), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace pw::test
