// Playback input at, just under and past each bound of platform/limits/limits.h:
// a record past a bound is refused and its message is noted once per
// refused record; one at the bound plays (or fails for another reason)
// without that note; playback goes on after it.
#include <gtest/gtest.h>

#include <Magick++.h>

#include <algorithm>

#include <filesystem>
#include <fstream>

#include "platform/gdi/dc/blit_plan.h"
#include "platform/gdi/dc/device_context.h"
#include "platform/gdi/dc/dib.h"
#include "platform/gdi/emf/emf_writer.h"
#include "platform/gdi/emf/metafile.h"
#include "platform/gdi/player/player.h"
#include "platform/gdi/dc/surface.h"
#include "platform/limits/limits.h"
#include "render/image_library.h"
#include "render/page_geometry.h"
#include "render/page_rasteriser.h"
#include "tests/support/test_home.h"
#include "tools/emfplay/page_render.h"

namespace pw::limits {
namespace {

using gdi::RecordBuilder;
using gdi::RecordType;

struct Played {
  gdi::PlayReport report;
  int save_level_after = -1;

  const gdi::RecordCounts& Of(RecordType type) const {
    static const gdi::RecordCounts kNone;
    const auto it = report.records.find(static_cast<std::uint32_t>(type));
    return it == report.records.end() ? kNone : it->second;
  }
  // How often the limit's message was noted.
  std::uint32_t Noted(const Limit& limit) const {
    const auto it = report.notes.find(std::string(limit.message));
    return it == report.notes.end() ? 0 : it->second;
  }
};

// Plays `emf` into a 100 x 100 surface. Every test ends its page with a
// rectangle, so that playback is seen to go on past the refused record.
Played Play(gdi::EmfWriter& emf) {
  emf.Rectangle({10, 10, 20, 20});
  const auto bytes = emf.Finish();
  Played out;
  auto metafile = gdi::Metafile::FromBytes(bytes);
  EXPECT_TRUE(metafile.has_value());
  if (!metafile) return out;
  auto surface = gdi::Surface::Create(100, 100);
  EXPECT_TRUE(surface.has_value());
  gdi::DeviceContext dc(*surface);
  EXPECT_TRUE(gdi::PlayMetafile(dc, *metafile, gdi::RectL{0, 0, 100, 100}, &out.report));
  out.save_level_after = dc.SaveLevel();
  EXPECT_EQ(out.Of(RecordType::Rectangle).played, 1u) << "playback stopped at the refused record";
  return out;
}

constexpr std::uint32_t Over(const Limit& limit) { return static_cast<std::uint32_t>(limit.value + 1); }
constexpr std::uint32_t At(const Limit& limit) { return static_cast<std::uint32_t>(limit.value); }

// --- saved states and objects -------------------------------------------

TEST(PlaybackLimits, SaveDcPastTheDepthIsRefusedAndNotedForEachSave) {
  gdi::EmfWriter emf;
  const int extra = 3;
  for (int i = 0; i < kSaveDepth.value + extra; ++i) emf.SaveDc();
  emf.RestoreDc(-1);
  const Played played = Play(emf);
  EXPECT_EQ(played.Of(RecordType::SaveDc).played, At(kSaveDepth));
  EXPECT_EQ(played.Of(RecordType::SaveDc).malformed, static_cast<std::uint32_t>(extra));
  EXPECT_EQ(played.Noted(kSaveDepth), static_cast<std::uint32_t>(extra));
  EXPECT_EQ(played.Of(RecordType::RestoreDc).played, 1u);
  EXPECT_EQ(played.save_level_after, 0);  // the caller's DC is as before
}

TEST(PlaybackLimits, SaveDcExactlyAtTheDepthIsNotNoted) {
  gdi::EmfWriter emf;
  for (int i = 0; i < kSaveDepth.value; ++i) emf.SaveDc();
  const Played played = Play(emf);
  EXPECT_EQ(played.Of(RecordType::SaveDc).played, At(kSaveDepth));
  EXPECT_EQ(played.Of(RecordType::SaveDc).malformed, 0u);
  EXPECT_TRUE(played.report.notes.empty());
}

TEST(PlaybackLimits, ObjectSlotsUpToTheTableBoundPlayAndTheNextIsNoted) {
  const std::uint32_t last = At(kObjectHandles) - 1;
  gdi::EmfWriter emf;
  emf.Handles(static_cast<std::uint16_t>(kObjectHandles.value))
      .CreatePen(last, gdi::PenStyle::Solid, 1, 0x0000FF)
      .SelectObject(last)
      .CreatePen(last + 1, gdi::PenStyle::Solid, 1, 0x00FF00)
      .CreateBrush(last + 2, gdi::BrushStyle::Solid, 0x00FF00);
  const Played played = Play(emf);
  EXPECT_EQ(played.Of(RecordType::CreatePen).played, 1u);
  EXPECT_EQ(played.Of(RecordType::CreatePen).malformed, 1u);
  EXPECT_EQ(played.Of(RecordType::CreateBrushIndirect).malformed, 1u);
  EXPECT_EQ(played.Of(RecordType::SelectObject).played, 1u);
  EXPECT_EQ(played.Noted(kObjectHandles), 2u);
}

TEST(PlaybackLimits, SlotPastTheHeadersOwnTableIsRefusedWithoutTheBoundsNote) {
  gdi::EmfWriter emf;
  emf.Handles(10).CreatePen(20, gdi::PenStyle::Solid, 1, 0x0000FF);
  const Played played = Play(emf);
  EXPECT_EQ(played.Of(RecordType::CreatePen).malformed, 1u);
  EXPECT_EQ(played.Noted(kObjectHandles), 0u);
}

// --- points ---------------------------------------------------------------

// A 16-bit poly record that claims `count` points and holds the first `held`.
RecordBuilder Poly16(std::uint32_t count, std::uint32_t held) {
  RecordBuilder b;
  b.Rect({0, 0, 10, 10}).U32(count);
  for (std::uint32_t i = 0; i < held; ++i) b.I16(static_cast<std::int16_t>(i)).I16(static_cast<std::int16_t>(i));
  return b;
}

TEST(PlaybackLimits, PointCountsPastTheBoundAreNotedInEveryShapeRecord) {
  gdi::EmfWriter emf;
  emf.Record(RecordType::Polyline16, Poly16(Over(kRecordPoints), 0));
  // PolyPolyline16 with one polygon count too many.
  emf.Record(RecordType::PolyPolyline16, RecordBuilder().Rect({0, 0, 10, 10}).U32(Over(kRecordPoints)).U32(2));
  emf.Record(RecordType::PolyDraw16, Poly16(Over(kRecordPoints), 0));
  // GradientFill: bounds, vertex count, mesh count, mode.
  emf.Record(RecordType::GradientFill, RecordBuilder().Rect({0, 0, 10, 10}).U32(Over(kRecordPoints)).U32(0).U32(0));
  const Played played = Play(emf);
  EXPECT_EQ(played.Of(RecordType::Polyline16).malformed, 1u);
  EXPECT_EQ(played.Of(RecordType::PolyPolyline16).malformed, 1u);
  EXPECT_EQ(played.Of(RecordType::PolyDraw16).malformed, 1u);
  EXPECT_EQ(played.Of(RecordType::GradientFill).malformed, 1u);
  EXPECT_EQ(played.Noted(kRecordPoints), 4u);
}

TEST(PlaybackLimits, PointCountsAtTheBoundAreOnlyTooShortForTheirRecord) {
  gdi::EmfWriter emf;
  emf.Record(RecordType::Polyline16, Poly16(At(kRecordPoints), 0));
  emf.Record(RecordType::PolyPolyline16, RecordBuilder().Rect({0, 0, 10, 10}).U32(At(kRecordPoints)).U32(2));
  emf.Record(RecordType::GradientFill, RecordBuilder().Rect({0, 0, 10, 10}).U32(At(kRecordPoints)).U32(0).U32(0));
  emf.Record(RecordType::Polyline16, Poly16(3, 3));  // a real shape plays
  const Played played = Play(emf);
  EXPECT_EQ(played.Of(RecordType::Polyline16).malformed, 1u);
  EXPECT_EQ(played.Of(RecordType::Polyline16).played, 1u);
  EXPECT_EQ(played.Of(RecordType::PolyPolyline16).malformed, 1u);
  EXPECT_EQ(played.Of(RecordType::GradientFill).malformed, 1u);
  EXPECT_TRUE(played.report.notes.empty());
}

// --- regions ----------------------------------------------------------------

// EMR_EXTSELECTCLIPRGN with RGN_COPY of RGNDATA claiming `count` rectangles
// and holding `rects`.
RecordBuilder ClipRegion(std::uint32_t count, const std::vector<gdi::RectL>& rects) {
  RecordBuilder region;
  region.U32(32).U32(1).U32(count).U32(static_cast<std::uint32_t>(rects.size() * 16)).Rect({0, 0, 100, 100});
  for (const gdi::RectL& r : rects) region.Rect(r);
  RecordBuilder b;
  b.U32(static_cast<std::uint32_t>(region.bytes().size())).I32(5);
  b.Bytes(region.bytes());
  return b;
}

// Horizontal and vertical strips that cross: `n` of each make about n²
// rectangles once united, from 2n given.
std::vector<gdi::RectL> CrossingStrips(std::int32_t n) {
  std::vector<gdi::RectL> rects;
  for (std::int32_t i = 0; i < n; ++i) {
    rects.push_back({0, 4 * i, 4 * n, 4 * i + 1});
    rects.push_back({4 * i, 0, 4 * i + 1, 4 * n});
  }
  return rects;
}

TEST(PlaybackLimits, RegionRectangleCountsPastTheBoundAreNoted) {
  gdi::EmfWriter emf;
  emf.Record(RecordType::ExtSelectClipRgn, ClipRegion(Over(kRegionRects), {}));
  emf.Record(RecordType::ExtSelectClipRgn, ClipRegion(At(kRegionRects), {}));  // only too short
  // 1100 strips each way unite into about 1.2 million rectangles.
  const auto strips = CrossingStrips(1100);
  emf.Record(RecordType::ExtSelectClipRgn, ClipRegion(static_cast<std::uint32_t>(strips.size()), strips));
  const Played played = Play(emf);
  EXPECT_EQ(played.Of(RecordType::ExtSelectClipRgn).malformed, 3u);
  EXPECT_EQ(played.Noted(kRegionRects), 2u);
}

TEST(PlaybackLimits, OverlappingRegionRectanglesUniteAsOneAfterAnother) {
  // Not banded: the rectangles overlap and come in no order, so they are
  // united in pairs rather than taken as they stand; the clip must be their
  // plain union all the same.
  std::vector<gdi::RectL> rects;
  QRegion expected;
  for (std::int32_t i = 0; i < 77; ++i) {
    const gdi::RectL r{(i * 37) % 60, (i * 13) % 70, (i * 37) % 60 + 9 + i % 5, (i * 13) % 70 + 4 + i % 7};
    rects.push_back(r);
    expected += QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
  gdi::EmfWriter emf;
  emf.Record(RecordType::ExtSelectClipRgn, ClipRegion(static_cast<std::uint32_t>(rects.size()), rects));
  // A black fill of the whole page without an outline shows the clip.
  emf.CreateBrush(1, gdi::BrushStyle::Solid, 0x000000).SelectObject(1).SelectObject(0x80000008);
  emf.Rectangle({-5, -5, 105, 105});
  auto metafile = gdi::Metafile::FromBytes(emf.Finish());
  ASSERT_TRUE(metafile.has_value());
  auto surface = gdi::Surface::Create(100, 100);
  ASSERT_TRUE(surface.has_value());
  {
    gdi::DeviceContext dc(*surface);
    gdi::PlayReport report;
    ASSERT_TRUE(gdi::PlayMetafile(dc, *metafile, gdi::RectL{0, 0, 100, 100}, &report));
    EXPECT_EQ(report.records.at(static_cast<std::uint32_t>(RecordType::ExtSelectClipRgn)).played, 1u);
    EXPECT_TRUE(report.notes.empty());
  }
  const QImage& image = surface->image();
  int wrong = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x)
      wrong += ((image.pixel(x, y) & 0xFFFFFF) == 0) != expected.contains(QPoint(x, y));
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(expected.rectCount(), 1);
}

// --- bitmaps and blits ------------------------------------------------------

// BITMAPINFOHEADER of a 1-bit bottom-up DIB with a black-and-white table.
RecordBuilder MonoInfo(std::int32_t width, std::int32_t height) {
  RecordBuilder b;
  b.U32(40).I32(width).I32(height).U16(1).U16(1).U32(0).U32(0).I32(0).I32(0).U32(2).U32(0);
  b.U32(0x000000).U32(0xFFFFFF);
  return b;
}

constexpr std::uint32_t kMonoInfoBytes = 48;

std::uint32_t MonoBitsBytes(std::int64_t width, std::int64_t height) {
  return static_cast<std::uint32_t>((width + 31) / 32 * 4 * height);
}

struct DibBlit {
  std::int32_t width = 1, height = 1;  // of the bitmap
  bool with_bits = true;               // false: the record holds the header only
  gdi::BlitRect src{0, 0, 1, 1};
};

// EMR_STRETCHDIBITS of a mono DIB onto 0,0 – 10,10 with SRCCOPY.
RecordBuilder StretchDiBits(const DibBlit& blit) {
  constexpr std::uint32_t kFixed = 80;
  const std::uint32_t bits = blit.with_bits ? MonoBitsBytes(blit.width, blit.height) : 0;
  RecordBuilder b;
  b.Rect({0, 0, 10, 10}).I32(0).I32(0);
  b.I32(blit.src.x).I32(blit.src.y).I32(blit.src.cx).I32(blit.src.cy);
  b.U32(kFixed).U32(kMonoInfoBytes).U32(kFixed + kMonoInfoBytes).U32(bits);
  b.U32(0).U32(0x00CC0020).I32(10).I32(10);
  b.Bytes(MonoInfo(blit.width, blit.height).bytes());
  b.Bytes(std::vector<std::byte>(bits));
  return b;
}

TEST(PlaybackLimits, BitmapSidesUpToTheBoundPlayAndOneMoreIsNoted) {
  const auto side = static_cast<std::int32_t>(kBitmapSide.value);
  gdi::EmfWriter emf;
  emf.Record(RecordType::StretchDiBits, StretchDiBits({side, 1, true, {0, 0, side, 1}}));
  emf.Record(RecordType::StretchDiBits, StretchDiBits({1, side, true, {0, 0, 1, side}}));
  const Played within = Play(emf);
  EXPECT_EQ(within.Of(RecordType::StretchDiBits).played, 2u);
  EXPECT_TRUE(within.report.notes.empty());

  gdi::EmfWriter past;
  past.Record(RecordType::StretchDiBits, StretchDiBits({side + 1, 1, true, {0, 0, 1, 1}}));
  past.Record(RecordType::StretchDiBits, StretchDiBits({1, side + 1, true, {0, 0, 1, 1}}));
  const Played refused = Play(past);
  EXPECT_EQ(refused.Of(RecordType::StretchDiBits).malformed, 2u);
  EXPECT_EQ(refused.Noted(kBitmapSide), 2u);
}

TEST(PlaybackLimits, BitmapPixelCountIsCheckedBeforeTheBits) {
  // Both sides allowed; only the header is in the record, so nothing large
  // is allocated either way. One row past the pixel bound is noted as such;
  // exactly at the bound the bitmap is refused only for its missing bits.
  const std::int32_t width = 8192;
  const auto height = static_cast<std::int32_t>(kBitmapPixels.value / width);
  gdi::EmfWriter emf;
  emf.Record(RecordType::StretchDiBits, StretchDiBits({width, height + 1, false, {0, 0, 1, 1}}));
  emf.Record(RecordType::StretchDiBits, StretchDiBits({width, height, false, {0, 0, 1, 1}}));
  const Played played = Play(emf);
  EXPECT_EQ(played.Of(RecordType::StretchDiBits).malformed, 2u);
  EXPECT_EQ(played.Noted(kBitmapPixels), 1u);
  EXPECT_EQ(played.Noted(kBitmapSide), 0u);
  EXPECT_EQ(played.report.notes.size(), 2u);  // the other note says why the second failed
}

TEST(PlaybackLimits, PatternBrushBitmapPastTheBoundIsNotedAndNotCreated) {
  const auto side = static_cast<std::int32_t>(kBitmapSide.value);
  auto brush = [](std::uint32_t index, std::int32_t width) {
    constexpr std::uint32_t kFixed = 32;
    const std::uint32_t bits = MonoBitsBytes(width, 1);
    RecordBuilder b;
    b.U32(index).U32(0).U32(kFixed).U32(kMonoInfoBytes).U32(kFixed + kMonoInfoBytes).U32(bits);
    b.Bytes(MonoInfo(width, 1).bytes()).Bytes(std::vector<std::byte>(bits));
    return b;
  };
  gdi::EmfWriter emf;
  emf.Handles(4);
  emf.Record(RecordType::CreateDibPatternBrushPt, brush(1, side));
  emf.Record(RecordType::CreateDibPatternBrushPt, brush(2, side + 1));
  emf.SelectObject(2);  // nothing was made in slot 2
  const Played played = Play(emf);
  EXPECT_EQ(played.Of(RecordType::CreateDibPatternBrushPt).played, 1u);
  EXPECT_EQ(played.Of(RecordType::CreateDibPatternBrushPt).malformed, 1u);
  EXPECT_EQ(played.Of(RecordType::SelectObject).malformed, 1u);
  EXPECT_EQ(played.Noted(kBitmapSide), 1u);
}

TEST(PlaybackLimits, BlitSourceOriginsAndExtentsPastTheBoundAreNoted) {
  const auto bound = static_cast<std::int32_t>(kBlitExtent.value);
  gdi::EmfWriter emf;
  // At the bound: accepted, though nothing of the bitmap lies there.
  emf.Record(RecordType::StretchDiBits, StretchDiBits({1, 1, true, {bound, 0, 1, 1}}));
  emf.Record(RecordType::StretchDiBits, StretchDiBits({1, 1, true, {0, 0, -bound, 1}}));
  const Played at = Play(emf);
  EXPECT_EQ(at.Of(RecordType::StretchDiBits).malformed, 0u);
  EXPECT_EQ(at.Noted(kBlitExtent), 0u);

  gdi::EmfWriter past;
  past.Record(RecordType::StretchDiBits, StretchDiBits({1, 1, true, {bound + 1, 0, 1, 1}}));
  past.Record(RecordType::StretchDiBits, StretchDiBits({1, 1, true, {0, -bound - 1, 1, 1}}));
  past.Record(RecordType::StretchDiBits, StretchDiBits({1, 1, true, {0, 0, -bound - 1, 1}}));
  // SetDIBitsToDevice: its scan-line count too.
  constexpr std::uint32_t kFixed = 76;
  RecordBuilder set;
  set.Rect({0, 0, 10, 10}).I32(0).I32(0).I32(0).I32(0).I32(1).I32(1);
  set.U32(kFixed).U32(kMonoInfoBytes).U32(kFixed + kMonoInfoBytes).U32(4).U32(0);
  set.U32(0).U32(static_cast<std::uint32_t>(bound) + 1);
  set.Bytes(MonoInfo(1, 1).bytes()).Bytes(std::vector<std::byte>(4));
  past.Record(RecordType::SetDiBitsToDevice, set);
  const Played refused = Play(past);
  EXPECT_EQ(refused.Of(RecordType::StretchDiBits).malformed, 3u);
  EXPECT_EQ(refused.Of(RecordType::SetDiBitsToDevice).malformed, 1u);
  EXPECT_EQ(refused.Noted(kBlitExtent), 4u);
}

// --- text -------------------------------------------------------------------

// EMR_EXTTEXTOUTW whose string claims `chars` characters and holds `held`.
RecordBuilder TextOut(std::uint32_t chars, std::uint32_t held) {
  constexpr std::uint32_t kFixed = 76;
  RecordBuilder b;
  b.Rect({0, 0, 10, 10}).U32(1).F32(1).F32(1);
  b.I32(10).I32(50).U32(chars).U32(kFixed).U32(0).Rect({0, 0, 0, 0}).U32(0);
  for (std::uint32_t i = 0; i < held; ++i) b.U16(u'x');
  return b;
}

TEST(PlaybackLimits, TextPastTheCharacterBoundIsNotedAtTheBoundItIsOnlyShort) {
  gdi::EmfWriter emf;
  emf.Record(RecordType::ExtTextOutW, TextOut(Over(kTextChars), 0));
  emf.Record(RecordType::ExtTextOutW, TextOut(At(kTextChars), 0));
  const Played played = Play(emf);
  EXPECT_EQ(played.Of(RecordType::ExtTextOutW).malformed, 2u);
  EXPECT_EQ(played.Noted(kTextChars), 1u);
}

// --- surfaces, page images and whole metafiles --------------------------------

TEST(SurfaceLimits, SideAndBytesAreBounded) {
  const int side = static_cast<int>(kSurfaceSide.value);
  EXPECT_TRUE(gdi::Surface::Create(side, 1).has_value());
  EXPECT_FALSE(gdi::Surface::Create(side + 1, 1).has_value());
  EXPECT_FALSE(gdi::Surface::Create(1, side + 1).has_value());
  // Sides within bounds whose pixels need one row more than the byte bound.
  const int width = 32768;
  const int height = static_cast<int>(kSurfaceBytes.value / 4 / width) + 1;
  EXPECT_FALSE(gdi::Surface::Create(width, height).has_value());
}

TEST(SurfaceLimits, TheBoundARefusedSurfacePassesIsNamedAndAgreesWithCreate) {
  const int side = static_cast<int>(kSurfaceSide.value);
  const int width = 32768;
  const int rows_at_byte_bound = static_cast<int>(kSurfaceBytes.value / 4 / width);
  struct Case {
    int width, height;
    const Limit* passed;
  };
  const Case cases[] = {
      {side, 1, nullptr},
      {side + 1, 1, &kSurfaceSide},
      {1, side + 1, &kSurfaceSide},
      {width, rows_at_byte_bound, nullptr},
      {width, rows_at_byte_bound + 1, &kSurfaceBytes},
      // Both bounds passed: the side is named, as it is the plainer reason.
      {side + 1, side, &kSurfaceSide},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    EXPECT_EQ(SurfaceBoundPassed(c.width, c.height), c.passed);
    // Create allocates only what is within bounds; 1 GB is not tried here.
    if (c.passed) {
      EXPECT_FALSE(gdi::Surface::Create(c.width, c.height).has_value());
    }
  }
  EXPECT_NE(kSurfaceBytes.message, kSurfaceSide.message);
}

TEST(PageImageLimits, EmfplayRefusesAPageByTheRenderersBounds) {
  // At 2540 dpi one frame unit (0.01 mm) is one pixel.
  gdi::EmfHeader header;
  header.frame = {0, 0, static_cast<std::int32_t>(kPageSide.value), 10};
  const auto widest = emfplay::PageSizeFor(header, 2540);
  ASSERT_TRUE(widest.has_value()) << widest.error();
  EXPECT_EQ(widest->cols, kPageSide.value);
  header.frame.right += 1;
  const auto wider = emfplay::PageSizeFor(header, 2540);
  ASSERT_FALSE(wider.has_value());
  EXPECT_EQ(wider.error(), kPageSide.message);
  // Each side within bounds, the area not: the pixel bound, as a render
  // of the same page would say.
  header.frame = {0, 0, 15000, 15000};
  const auto square = emfplay::PageSizeFor(header, 2540);
  ASSERT_FALSE(square.has_value());
  EXPECT_EQ(square.error(), kPagePixels.message);
  EXPECT_EQ(render::ComputePageGeometry(render::Frame{0, 0, 15000, 15000}, 2540, 100, false).Problem(),
            kPagePixels.message);
}

TEST(PageImageLimits, EveryAdmittedPageFitsTheImageLibrarysPolicy) {
  render::EnsureImageLibrary();
  // The policy caps the library; a page within our bounds must be within
  // it, two at a time (one encoding while the next renders).
  EXPECT_LE(static_cast<std::uint64_t>(kPageSide.value), Magick::ResourceLimits::width());
  EXPECT_LE(static_cast<std::uint64_t>(kPageSide.value), Magick::ResourceLimits::height());
  const std::uint64_t page_bytes = static_cast<std::uint64_t>(kPagePixels.value) * sizeof(Magick::PixelPacket);
  const std::uint64_t cache = std::max({Magick::ResourceLimits::memory(), Magick::ResourceLimits::map(),
                                        Magick::ResourceLimits::disk()});
  EXPECT_LE(2 * page_bytes, cache);
  // A page reduced to a palette and its copy with an index fit the mapped room.
  EXPECT_LE(static_cast<std::uint64_t>(kPalettePagePixels.value) *
                (2 * sizeof(Magick::PixelPacket) + sizeof(Magick::IndexPacket)),
            Magick::ResourceLimits::map());
}

// An A4 page at 600 dpi (4961 x 7016) is within the page bounds but past the
// palette bound: each format that reduces to a palette refuses it at once,
// with that bound's message, the others do not.
TEST(PageImageLimits, PalettePagesPastTheirBoundAreRefusedBeforeRendering) {
  gdi::EmfWriter writer;
  writer.Frame({0, 0, 21000, 29700}).Device({2100, 2970}, {210, 297});
  auto page = gdi::Metafile::FromBytes(writer.Finish());
  ASSERT_TRUE(page) << page.error().message;
  ASSERT_TRUE(render::ComputePageGeometry(render::Frame{0, 0, 21000, 29700}, 600, 100, false).Drawable());

  const auto refusal = [&page](auto choose) -> std::string {
    render::RenderRequest request;
    request.metafile = &*page;
    request.resolution = 600;
    request.options.encoding.JPG_Default = false;
    choose(request.options.encoding);
    const auto rendered = render::RenderPage(request);
    return rendered ? std::string() : rendered.error().message;
  };
  using Options = render::EncodingOptions&;
  EXPECT_EQ(refusal([](Options o) { o.GIF_Default = true; }), kPalettePagePixels.message);
  EXPECT_EQ(refusal([](Options o) { o.GIF_Default = true, o.GIF_IndexGray = 1; }), kPalettePagePixels.message);
  EXPECT_EQ(refusal([](Options o) { o.PNG_Default = true, o.PNG_TrueIndexGray = 1; }), kPalettePagePixels.message);
  EXPECT_EQ(refusal([](Options o) { o.TIF_Default = true, o.TIF_TrueIndexGray = 1; }), kPalettePagePixels.message);
  EXPECT_EQ(refusal([](Options o) { o.KodMultipageFormat = 1, o.PDF_Bitmp_Format = "GIF"; }),
            kPalettePagePixels.message);
  // Drawn whole in true colour; the page is blank, so this is quick.
  EXPECT_EQ(refusal([](Options o) { o.PNG_Default = true, o.PNG_TrueIndexGray = 0; }), "");
}

TEST(PageImageLimits, SideAndPixelsDecideWhetherAPageIsDrawable) {
  // 1 m x 1 m at 100 dpi: 3938 pixels a side, drawable.
  const render::Frame metre{0, 0, 100000, 100000};
  EXPECT_TRUE(render::ComputePageGeometry(metre, 100.0, 100, false).Drawable());
  // The same page at 2400 dpi passes the side bound.
  const auto fine = render::ComputePageGeometry(metre, 2400.0, 100, false);
  EXPECT_GT(fine.columns, kPageSide.value);
  EXPECT_FALSE(fine.Drawable());
  // A long strip keeps each side within bounds but has too many pixels
  // (3.81 m x 1.02 m at 100 dpi: 15000 x 4016 pixels).
  const auto wide = render::ComputePageGeometry(render::Frame{0, 0, 381000, 102000}, 100.0, 100, false);
  EXPECT_LE(wide.columns, kPageSide.value);
  EXPECT_LE(wide.rows, kPageSide.value);
  EXPECT_GT(wide.columns * wide.rows, kPagePixels.value);
  EXPECT_FALSE(wide.Drawable());
}

TEST(MetafileLimits, FileOverTheByteBoundIsRefusedWithTheBoundsMessage) {
  // A sparse file: its size passes the bound without using the disk, and the
  // load must refuse it before reading (it would otherwise take 1 GB).
  const auto path = test::TempDir() / "huge.emf";
  std::ofstream(path, std::ios::binary).put('\0');
  std::filesystem::resize_file(path, static_cast<std::uintmax_t>(kMetafileBytes.value) + 4);
  const auto metafile = gdi::Metafile::FromFile(path);
  ASSERT_FALSE(metafile.has_value());
  EXPECT_EQ(metafile.error().message, kMetafileBytes.message);
  EXPECT_EQ(metafile.error().limit, &kMetafileBytes);
}

TEST(MetafileLimits, OtherDamageCarriesNoBound) {
  const auto path = test::TempDir() / "short.emf";
  std::ofstream(path, std::ios::binary) << "not a metafile";
  const auto metafile = gdi::Metafile::FromFile(path);
  ASSERT_FALSE(metafile.has_value());
  EXPECT_EQ(metafile.error().limit, nullptr);
  EXPECT_NE(metafile.error().message, kMetafileBytes.message);
}

}  // namespace
}  // namespace pw::limits
