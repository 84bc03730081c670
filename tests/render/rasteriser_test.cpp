#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>
#include <set>
#include <vector>

#include "platform/paths/paths.h"
#include "render/band_plan.h"
#include "render/image_to_bitmap.h"
#include "render/page_rasteriser.h"
#include "render/page_text.h"
#include "tests/render/render_test_support.h"

namespace pw::render {
namespace {

using testing::FromColorref;
using testing::Page;
using testing::PixelAt;
using testing::Pixels;
using testing::RawOptions;
using testing::Rgb;

constexpr gdi::RectL kA4{0, 0, 21000, 29700};

class RecordingView : public RenderView {
 public:
  void RenderStarted(int bands) override { started.push_back(bands); }
  void BandStarted(int band, int bands) override {
    std::lock_guard lock(mutex);
    this->bands.push_back(band);
    EXPECT_EQ(bands, started.back());
  }
  void RenderEnded() override { ++ended; }
  void InvalidateStatusArea() override { ++invalidated; }

  std::mutex mutex;
  std::vector<int> started, bands;
  int ended = 0, invalidated = 0;
};

RenderRequest Request(const gdi::Metafile* page, double dpi, RenderOptions options) {
  RenderRequest r;
  r.metafile = page;
  r.resolution = dpi;
  r.options = options;
  return r;
}

bool PreviewExists() {
  const auto folder = platform::WorkFolder();
  if (!folder) return false;
  for (const auto& entry : std::filesystem::directory_iterator(*folder))
    if (entry.path().filename().string().starts_with("~CurImg")) return true;
  return false;
}

TEST(Rasteriser, HalfScaleA4At100DpiWritesThePreview) {
  const gdi::Metafile page = Page(kA4);
  RenderOptions o;
  o.ScaleCur = 50;
  o.KodAntialias = 0;
  RecordingView view;
  RenderRequest request = Request(&page, 100.0, o);
  request.view = &view;
  auto rendered = RenderPage(request);
  ASSERT_TRUE(rendered.has_value()) << rendered.error().message;
  EXPECT_EQ(rendered->image.columns(), 414u);
  EXPECT_EQ(rendered->image.rows(), 585u);
  ASSERT_TRUE(rendered->page_size.has_value());
  EXPECT_EQ(rendered->page_size->width, 210);
  EXPECT_EQ(rendered->page_size->height, 297);
  EXPECT_EQ(LastPageSizeMm()->height, 297);
  // The default output is JPEG: the preview is written, sized and shown.
  const auto path = *platform::WorkFolder() + "~CurImg.jpg";
  ASSERT_TRUE(std::filesystem::exists(path));
  ASSERT_TRUE(rendered->size_kb.has_value());
  EXPECT_EQ(*rendered->size_kb, static_cast<int>(std::filesystem::file_size(path) / 1024));
  EXPECT_EQ(CurrentImageSizeKb(), *rendered->size_kb);
  EXPECT_EQ(rendered->image.density().width(), 100u);
  EXPECT_EQ(view.started, std::vector<int>{3});
  EXPECT_EQ(view.bands, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(view.ended, 1);
  EXPECT_EQ(view.invalidated, 1);
}

TEST(Rasteriser, ThumbnailKeepsScaleAndSupersamplingOutButDrawsTheBackgroundAtFactorOne) {
  const gdi::Metafile page = Page(kA4);
  RenderOptions o;
  o.ScaleCur = 200;
  o.KodAntialias = 3;
  o.lvIncludeDateTime = true;
  o.background.lvBkGrHathStyle = 4;
  o.background.lvHatchLnHor = false;
  RenderRequest request = Request(&page, 50.0, o);
  request.thumbnail = true;
  auto rendered = RenderPage(request);
  ASSERT_TRUE(rendered.has_value()) << rendered.error().message;
  const Magick::Image& image = rendered->image;
  EXPECT_EQ(image.columns(), 414u);
  EXPECT_EQ(image.rows(), 585u);
  EXPECT_EQ(rendered->bands, 3);  // bands of 200 rows: no supersampling
  EXPECT_FALSE(rendered->size_kb.has_value());
  EXPECT_FALSE(PreviewExists());
  ASSERT_TRUE(rendered->page_size.has_value());
  EXPECT_EQ(rendered->page_size->width, 210);
  // Lines one pixel wide every 8 pixels: c = trunc((52 - 51.75) x 8 x 0.5) = 1,
  // so they fall on x = 7, 15, ...
  const Rgb hatch = FromColorref(o.background.lvHatchColor);
  const Rgb fill = FromColorref(o.background.lvCurBkGrColor);
  for (int y : {0, 5, 300}) {
    EXPECT_EQ(PixelAt(image, 7, y), hatch) << y;
    EXPECT_EQ(PixelAt(image, 15, y), hatch) << y;
    EXPECT_EQ(PixelAt(image, 3, y), fill) << y;
    EXPECT_EQ(PixelAt(image, 11, y), fill) << y;  // also no stamp at the top left
  }
}

TEST(Rasteriser, AntialiasOneRendersLikeNoSupersampling) {
  const gdi::Metafile page = Page(kA4, [](gdi::EmfWriter& w) {
    w.Ellipse({200, 300, 1500, 2200}).Rectangle({50, 50, 700, 400});
  });
  RenderOptions zero = RawOptions(0), one = RawOptions(1);
  for (RenderOptions* o : {&zero, &one}) {
    o->background.lvBkGrHathStyle = 4;
    o->background.lvHatchAngle = 30;
  }
  auto a = RenderPage(Request(&page, 60.0, zero));
  auto b = RenderPage(Request(&page, 60.0, one));
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->bands, b->bands);
  EXPECT_EQ(b->bands, static_cast<int>(PlanBands(496, 702, 1).bands.size()));
  EXPECT_TRUE(Pixels(a->image) == Pixels(b->image));
  EXPECT_EQ(DateStampHeight(1), 12);
  EXPECT_EQ(DateStampHeight(0), 11);
  EXPECT_EQ(DateStampHeight(3), 32);
}

TEST(Rasteriser, ExactMultipleOfTheBandHeightSkipsTheEmptyBand) {
  // 2540 frame units are one inch: 16 inches at 25 dpi are 400 rows.
  const gdi::Metafile page = Page({0, 0, 2540, 40640});
  RecordingView view;
  RenderRequest request = Request(&page, 25.0, RawOptions(0));
  request.view = &view;
  auto rendered = RenderPage(request);
  ASSERT_TRUE(rendered.has_value());
  ASSERT_EQ(rendered->image.rows(), 400u);
  EXPECT_EQ(rendered->bands, 2);
  EXPECT_EQ(view.started, std::vector<int>{3});
  EXPECT_EQ(view.bands.size(), 2u);
}

TEST(Rasteriser, DateStampIsDrawnOnlyAtTheTopLeftOfThePage) {
  const gdi::Metafile page = Page({0, 0, 10000, 20000});  // 100 x 200 mm: several bands
  for (int antialias : {0, 3}) {
    RenderOptions plain = RawOptions(antialias), stamped = RawOptions(antialias);
    stamped.lvIncludeDateTime = true;
    RenderRequest a = Request(&page, 72.0, plain), b = Request(&page, 72.0, stamped);
    b.stamp_time = QDateTime(QDate(2024, 5, 17), QTime(13, 45, 30));
    auto without = RenderPage(a);
    auto with = RenderPage(b);
    ASSERT_TRUE(without && with);
    ASSERT_GT(with->bands, 1);
    const std::size_t cols = with->image.columns(), rows = with->image.rows();
    const auto p = Pixels(without->image), q = Pixels(with->image);
    int changed = 0, max_x = 0, max_y = 0;
    for (std::size_t y = 0; y < rows; ++y)
      for (std::size_t x = 0; x < cols; ++x)
        if (std::memcmp(&p[(y * cols + x) * 3], &q[(y * cols + x) * 3], 3) != 0) {
          ++changed;
          max_x = std::max(max_x, int(x));
          max_y = std::max(max_y, int(y));
        }
    EXPECT_GT(changed, 20) << antialias;
    EXPECT_LT(max_y, 16) << antialias;  // about 11 output rows high
    EXPECT_LT(max_x, 200) << antialias;
  }
}

TEST(DateStamp, ShortDateAndTimeWithSecondsWithoutTimeZone) {
  const QString text = DateStampText(QDateTime(QDate(2024, 5, 17), QTime(13, 45, 30)));
  EXPECT_TRUE(text.contains(QStringLiteral("45:30"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("24"))) << text.toStdString();
  EXPECT_FALSE(text.endsWith(QLatin1Char(' ')));
  EXPECT_GE(text.count(QLatin1Char(0x20)), 1);
}

TEST(Rasteriser, PageWithoutMetafileIsTheNotice) {
  const std::optional<PageSizeMm> before = LastPageSizeMm();
  RenderOptions o = RawOptions(0);
  o.background.lvBkGrHathStyle = 99;
  auto rendered = RenderPage(Request(nullptr, 300.0, o));
  ASSERT_TRUE(rendered.has_value());
  EXPECT_EQ(rendered->image.columns(), 250u);
  EXPECT_EQ(rendered->image.rows(), 200u);
  EXPECT_FALSE(rendered->page_size.has_value());
  EXPECT_EQ(LastPageSizeMm().has_value(), before.has_value());
  // Background colour at the corners, dark text in the middle row.
  const Rgb fill = FromColorref(o.background.lvCurBkGrColor);
  EXPECT_EQ(PixelAt(rendered->image, 0, 0), fill);
  EXPECT_EQ(PixelAt(rendered->image, 249, 199), fill);
  int dark = 0;
  for (int y = 90; y < 110; ++y)
    for (int x = 0; x < 250; ++x) dark += PixelAt(rendered->image, x, y).g < 100;
  EXPECT_GT(dark, 30);
}

TEST(Rasteriser, PatternlessStylesGiveAnEvenBackground) {
  const gdi::Metafile page = Page({0, 0, 5000, 5000});
  for (int style : {2, 3, 99, 100}) {
    RenderOptions o = RawOptions(3);
    o.background.lvBkGrHathStyle = style;
    auto rendered = RenderPage(Request(&page, 50.0, o));
    ASSERT_TRUE(rendered.has_value());
    const auto pixels = Pixels(rendered->image);
    const Rgb want = style == 100 ? Rgb{255, 255, 255} : FromColorref(o.background.lvCurBkGrColor);
    for (std::size_t i = 0; i < pixels.size(); i += 3)
      ASSERT_EQ((Rgb{pixels[i + 2], pixels[i + 1], pixels[i]}), want) << "style " << style;
  }
}

// A surface is drawn on again for the next slice: nothing of the slice
// before may show through, and the background must be the page's own.
TEST(Rasteriser, EverySliceStartsFromThePageBackgroundAlone) {
  const gdi::Metafile page = Page({0, 0, 5000, 60000}, [](gdi::EmfWriter& w) {
    w.CreateBrush(1, gdi::BrushStyle::Solid, 0x00000000).SelectObject(1).Rectangle({0, 0, 500, 400});  // in the first band
  });
  for (int style : {99, 100}) {
    RenderOptions o = RawOptions(3);
    o.background.lvBkGrHathStyle = style;
    RenderRequest request = Request(&page, 50.0, o);
    request.threads = 1;
    auto rendered = RenderPage(request);
    ASSERT_TRUE(rendered.has_value());
    ASSERT_GT(rendered->bands, 3);
    const Rgb want = style == 100 ? Rgb{255, 255, 255} : FromColorref(o.background.lvCurBkGrColor);
    EXPECT_EQ(PixelAt(rendered->image, 10, 10), (Rgb{0, 0, 0}));
    const int first_band_rows = BandBase(3);
    for (int y = first_band_rows; y < static_cast<int>(rendered->image.rows()); ++y)
      for (int x = 0; x < static_cast<int>(rendered->image.columns()); ++x)
        ASSERT_EQ(PixelAt(rendered->image, x, y), want) << "style " << style << " at " << x << "," << y;
  }
}

TEST(Rasteriser, ParallelBandsGiveTheSameBytesAsSequentialOnes) {
  const gdi::Metafile page = Page(kA4, [](gdi::EmfWriter& w) {
    w.CreatePen(1, gdi::PenStyle::Solid, 7, 0x000000FF).SelectObject(1).Ellipse({100, 100, 2000, 2800});
    w.CreateBrush(2, gdi::BrushStyle::Solid, 0x0000AA00).SelectObject(2).Rectangle({300, 1200, 1800, 1600});
    w.MoveTo(0, 0).LineTo(2100, 2970);
  });
  for (int antialias : {0, 3, 7}) {
    RenderOptions o = RawOptions(antialias);
    o.background.lvBkGrHathStyle = antialias == 7 ? 1 : 4;
    o.background.lvHatchAngle = 20;
    o.background.lvHatchWidth = 1;
    o.lvIncludeDateTime = true;
    RenderRequest sequential = Request(&page, 40.0, o);
    sequential.threads = 1;
    sequential.stamp_time = QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5));
    RenderRequest parallel = sequential;
    parallel.threads = 3;
    auto a = RenderPage(sequential);
    auto b = RenderPage(parallel);
    ASSERT_TRUE(a && b) << antialias;
    ASSERT_GT(a->bands, 1) << antialias;
    EXPECT_TRUE(Pixels(a->image) == Pixels(b->image)) << "factor " << antialias;
  }
}

// A wide page whose bands are too big for one surface, so they are cut
// into slices; dashed lines across the cuts show where a slice begins.
// The cuts must not follow the number of workers.
TEST(Rasteriser, PixelsDoNotDependOnTheNumberOfWorkers) {
  const gdi::Metafile page = Page({0, 0, 30000, 3000}, [](gdi::EmfWriter& w) {
    w.CreatePen(1, gdi::PenStyle::Dash, 0, 0x00000000).SelectObject(1);
    for (int x = 10; x < 3000; x += 150) w.MoveTo(x, 0).LineTo(x + 40, 300);
  });
  RenderRequest request = Request(&page, 300.0, RawOptions(3));
  request.threads = 1;
  auto one = RenderPage(request);
  ASSERT_TRUE(one.has_value());
  for (int threads : {2, 32}) {
    request.threads = threads;
    auto many = RenderPage(request);
    ASSERT_TRUE(many.has_value()) << threads;
    EXPECT_TRUE(Pixels(one->image) == Pixels(many->image)) << threads << " workers";
  }
}

TEST(Rasteriser, SupersamplingSoftensEdges) {
  const gdi::Metafile page = Page({0, 0, 5000, 5000}, [](gdi::EmfWriter& w) {
    w.CreateBrush(1, gdi::BrushStyle::Solid, 0x00000000).SelectObject(1).Ellipse({40, 40, 460, 460});
  });
  auto levels = [&](int antialias) {
    auto rendered = RenderPage(Request(&page, 100.0, RawOptions(antialias)));
    EXPECT_TRUE(rendered.has_value());
    std::set<int> greens;
    const auto pixels = Pixels(rendered->image);
    for (std::size_t i = 1; i < pixels.size(); i += 3) greens.insert(pixels[i]);
    return greens.size();
  };
  EXPECT_LE(levels(0), 3u);   // black and white, maybe the pen
  EXPECT_GT(levels(5), 10u);  // edges averaged over 25 samples
}

TEST(Rasteriser, PagesThatCannotBeImagesAreErrorsThatSayWhy) {
  const gdi::Metafile flat = Page({0, 0, 0, 29700});
  auto rendered = RenderPage(Request(&flat, 96.0, RawOptions(0)));
  ASSERT_FALSE(rendered.has_value());
  EXPECT_EQ(rendered.error().message, "The page has no area.");
  const gdi::Metafile vast = Page({0, 0, 2'000'000'000, 2'000'000'000});
  rendered = RenderPage(Request(&vast, 600.0, RawOptions(0)));
  ASSERT_FALSE(rendered.has_value());
  EXPECT_EQ(rendered.error().message, limits::kPageSide.message);
}

TEST(Rasteriser, WhatThePlayerNotesReachesTheViewOncePerPageNotOncePerBand) {
  const gdi::Metafile page = Page(kA4, [](gdi::EmfWriter& w) {
    for (int i = 0; i < limits::kSaveDepth.value + 3; ++i) w.SaveDc();
    w.MoveTo(0, 0).LineTo(2100, 2970);
  });
  struct NotingView : RecordingView {
    void PageNoted(const std::map<std::string, std::uint32_t>& notes) override { noted.push_back(notes); }
    std::vector<std::map<std::string, std::uint32_t>> noted;
  } view;
  RenderRequest request = Request(&page, 40.0, RawOptions(3));
  request.view = &view;
  auto rendered = RenderPage(request);
  ASSERT_TRUE(rendered.has_value());
  ASSERT_GT(rendered->bands, 1);
  const std::map<std::string, std::uint32_t> expected{{std::string(limits::kSaveDepth.message), 3u}};
  EXPECT_EQ(rendered->notes, expected);
  ASSERT_EQ(view.noted.size(), 1u);
  EXPECT_EQ(view.noted[0], expected);

  // A page that hits nothing notes nothing.
  const gdi::Metafile plain = Page(kA4);
  view.noted.clear();
  request.metafile = &plain;
  rendered = RenderPage(request);
  ASSERT_TRUE(rendered.has_value());
  EXPECT_TRUE(rendered->notes.empty());
  EXPECT_TRUE(view.noted.empty());
}

TEST(Rasteriser, WithoutThePreviewNoFileIsWrittenAndTheSizeIsKept) {
  const gdi::Metafile page = Page({0, 0, 5000, 5000});
  RenderOptions o = RawOptions(0);
  o.encoding.KodMultipageFormat = 0;
  o.encoding.JPG_Default = false;
  o.encoding.PNG_Default = true;
  RenderRequest request = Request(&page, 100.0, o);
  request.preview = false;
  SetCurrentImageSizeKb(77);
  auto rendered = RenderPage(request);
  ASSERT_TRUE(rendered.has_value());
  EXPECT_FALSE(rendered->size_kb.has_value());
  EXPECT_FALSE(PreviewExists());
  EXPECT_EQ(CurrentImageSizeKb(), 77);
  request.preview = true;
  rendered = RenderPage(request);
  ASSERT_TRUE(rendered.has_value());
  EXPECT_TRUE(rendered->size_kb.has_value());
  EXPECT_TRUE(PreviewExists());
}

TEST(Rasteriser, OutOfRangeFactorAndScaleAreClamped) {
  const gdi::Metafile page = Page({0, 0, 2540, 2540});
  RenderOptions o = RawOptions(500);
  o.ScaleCur = -20;
  auto rendered = RenderPage(Request(&page, 2000.0, o));
  ASSERT_TRUE(rendered.has_value()) << rendered.error().message;
  // Scale 1 %: 25.4 frame units at 2000 dpi = 20 pixels; factor 20: bands of 400 rows.
  EXPECT_EQ(rendered->image.columns(), 20u);
  EXPECT_EQ(rendered->bands, 1);
}

TEST(Rasteriser, PreviewReadBackShowsTheReducedPalette) {
  const gdi::Metafile page = Page({0, 0, 5000, 5000}, [](gdi::EmfWriter& w) {
    w.CreateBrush(1, gdi::BrushStyle::Solid, 0x000000FF).SelectObject(1).Ellipse({40, 40, 460, 460});
  });
  RenderOptions o;
  o.KodAntialias = 5;
  o.background.lvBkGrHathStyle = 1;
  o.encoding.JPG_Default = false;
  o.encoding.PNG_Default = true;
  o.encoding.PNG_TrueIndexGray = 1;
  o.encoding.PNG_Colors = 4;
  auto rendered = RenderPage(Request(&page, 100.0, o));
  ASSERT_TRUE(rendered.has_value());
  std::set<std::tuple<int, int, int>> colours;
  const auto pixels = Pixels(rendered->image);
  for (std::size_t i = 0; i < pixels.size(); i += 3)
    colours.insert({pixels[i], pixels[i + 1], pixels[i + 2]});
  EXPECT_LE(colours.size(), 4u);
  EXPECT_TRUE(std::filesystem::exists(*platform::WorkFolder() + "~CurImg.png"));
}

TEST(ImageToBitmap, CopiesEveryPixel) {
  const gdi::Metafile page = Page({0, 0, 3000, 2000}, [](gdi::EmfWriter& w) {
    w.CreateBrush(1, gdi::BrushStyle::Solid, 0x00336699).SelectObject(1).Rectangle({10, 10, 200, 150});
  });
  auto rendered = RenderPage(Request(&page, 50.0, RawOptions(3)));
  ASSERT_TRUE(rendered.has_value());
  const auto bitmap = ImageToBitmap(rendered->image);
  ASSERT_TRUE(bitmap.has_value());
  ASSERT_EQ(bitmap->width(), static_cast<int>(rendered->image.columns()));
  ASSERT_EQ(bitmap->height(), static_cast<int>(rendered->image.rows()));
  const auto pixels = Pixels(rendered->image);
  for (int y = 0; y < bitmap->height(); ++y)
    for (int x = 0; x < bitmap->width(); ++x) {
      const std::size_t i = (std::size_t(y) * bitmap->width() + x) * 3;
      const std::uint32_t expected = pixels[i + 2] | (pixels[i + 1] << 8) | (pixels[i] << 16);
      ASSERT_EQ(bitmap->PixelColorRef(x, y), expected) << x << "," << y;
    }
  EXPECT_FALSE(ImageToBitmap(Magick::Image()).has_value());
}

}  // namespace
}  // namespace pw::render
