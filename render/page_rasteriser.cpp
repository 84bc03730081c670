#include "render/page_rasteriser.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "platform/gdi/dc/surface.h"
#include "platform/memory/large_pages.h"
#include "platform/msgbox/message_box.h"
#include "render/band_drawing.h"
#include "render/band_plan.h"
#include "render/band_workers.h"
#include "render/image_encoding.h"
#include "render/image_library.h"
#include "render/page_geometry.h"
#include "render/page_text.h"

namespace pw::render {

namespace {

// One preview file serves the whole program: a render writes it and reads
// it back whole before another may.
std::mutex g_preview_mutex;

// The page image and the band surfaces together should stay below about
// 320 MB; the surfaces get what the image leaves, within these bounds.
constexpr std::int64_t kMemoryTarget = 320ll << 20;
constexpr std::int64_t kMinSurfaceBudget = 48ll << 20;
constexpr std::int64_t kMaxSurfaceBudget = 256ll << 20;
// A worker's slice is drawn, then averaged: one small enough to stay in the
// processor's cache between the two is read back from the cache, not from
// memory, which outweighs playing the page once more per slice.
constexpr std::int64_t kCachedSliceBytes = 16ll << 20;

class ViewScope {
 public:
  ViewScope(RenderView* view, int bands) : view_(view) {
    if (view_) view_->RenderStarted(bands);
  }
  ~ViewScope() {
    if (view_) view_->RenderEnded();
  }
  ViewScope(const ViewScope&) = delete;
  ViewScope& operator=(const ViewScope&) = delete;

 private:
  RenderView* view_;
};

// Copies output rows into the image. Each worker writes its own rows through
// its own view of the pixel cache, so workers do not wait for one another.
// The views are made, and the cache opened, before the workers start.
class ImageWriter {
 public:
  class View;

  ImageWriter(Magick::Image& image, int columns, int workers) : image_(image), columns_(columns) {
    image_.modifyImage();  // the image is not shared while the workers write
    for (int i = 0; i < workers; ++i) views_.push_back(std::make_unique<View>(*this));
    views_.front()->Open();
  }

  // A view no other worker has; one per worker.
  View& TakeView() { return *views_.at(next_view_++); }

  // One worker's way into the pixel cache.
  class View {
   public:
    explicit View(ImageWriter& writer)
        : writer_(writer),
          exception_(MagickCore::AcquireExceptionInfo()),
          view_(MagickCore::AcquireAuthenticCacheView(writer.image_.image(), exception_)) {}
    ~View() {
      if (view_) MagickCore::DestroyCacheView(view_);
      MagickCore::DestroyExceptionInfo(exception_);
    }
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // Has the library allocate the pixels here, before any worker writes;
    // the first row is written again with the page. The pixels are not yet
    // touched: large pages spare the workers most of the faults of writing
    // a new page image, a fifth of the time of a light page before.
    void Open() {
      if (!view_ || !MagickCore::QueueCacheViewAuthenticPixels(view_, 0, 0, static_cast<std::size_t>(writer_.columns_),
                                                               1, exception_))
        return;
      MagickCore::SyncCacheViewAuthenticPixels(view_, exception_);
      MagickCore::MagickSizeType length = 0;
      if (void* pixels = MagickCore::GetPixelCachePixels(writer_.image_.image(), &length, exception_))
        platform::PreferLargePages(pixels, static_cast<std::size_t>(length));
    }

    // The pixels of rows first_row ... first_row + rows - 1, for this
    // worker alone until Sync; empty when the image cannot provide them.
    std::span<MagickCore::PixelPacket> Rows(int first_row, int rows) {
      if (!view_) return {};
      MagickCore::PixelPacket* pixels = MagickCore::QueueCacheViewAuthenticPixels(
          view_, 0, first_row, static_cast<std::size_t>(writer_.columns_), static_cast<std::size_t>(rows), exception_);
      if (!pixels) return {};
      return {pixels, static_cast<std::size_t>(writer_.columns_) * static_cast<std::size_t>(rows)};
    }

    // Hands the rows last taken back to the image.
    bool Sync(int rows) {
      if (!MagickCore::SyncCacheViewAuthenticPixels(view_, exception_)) return false;
      writer_.rows_written_ += rows;
      return true;
    }

   private:
    ImageWriter& writer_;
    // Failures are told by the row that could not be had, not by this.
    MagickCore::ExceptionInfo* exception_;
    MagickCore::CacheView* view_;
  };

  long long RowsWritten() const { return rows_written_; }

 private:
  Magick::Image& image_;
  int columns_;
  std::atomic<long long> rows_written_{0};
  std::vector<std::unique_ptr<View>> views_;
  std::atomic<std::size_t> next_view_{0};
};

// A worker's surfaces. A page's slices are of a full height or a band's
// shorter rest, so two surfaces serve nearly all of them.
struct WorkerSurfaces {
  SliceSurface kept[2];
  std::size_t last = 0;  // the slot used last

  // The slot for a slice: the surface that fits it, or the one used longer
  // ago, which the slice then replaces.
  SliceSurface& For(int width, int height) {
    for (std::size_t i = 0; i < 2; ++i) {
      const std::optional<gdi::Surface>& s = kept[i].surface;
      if (s && s->width() == width && s->height() == height) return kept[last = i];
    }
    last = 1 - last;
    return kept[last];
  }
};

struct BandWork {
  BandWork(const PageDrawing& page_in, const BandPlan& plan_in, std::vector<Slice> slices_in, RenderView* view_in,
           ImageWriter& writer_in)
      : page(page_in), plan(plan_in), slices(std::move(slices_in)), view(view_in), writer(writer_in) {}

  const PageDrawing& page;
  const BandPlan& plan;
  const std::vector<Slice> slices;
  RenderView* view;
  ImageWriter& writer;
  std::atomic<std::size_t> next{0};
  std::atomic<bool> failed{false};
  std::mutex mutex;
  std::size_t bands_started = 0;  // under the mutex
  std::string error;
  PlayNotes notes;  // every slice plays the whole page: the most any slice noted

  void Fail(std::string message) {
    std::lock_guard lock(mutex);
    if (!failed.exchange(true)) error = std::move(message);
  }

  void Note(const PlayNotes& slice_notes) {
    if (slice_notes.empty()) return;
    std::lock_guard lock(mutex);
    for (const auto& [text, count] : slice_notes) notes[text] = std::max(notes[text], count);
  }

  // A band has started when a slice reaching its first row is taken; told
  // in order, each band once, though workers take slices side by side.
  void StartBands(const Slice& slice) {
    if (!view) return;
    std::lock_guard lock(mutex);
    for (; bands_started < plan.bands.size() && plan.bands[bands_started].offset < slice.offset + slice.height;
         ++bands_started)
      view->BandStarted(plan.bands[bands_started].index, plan.nominal_count);
  }

  // Without supersampling the rows the image cannot take stay unwritten
  // quietly.
  void TellImageFailed() const {
    if (plan.factor > 1)
      platform::MessageBox(platform::MessageOwner::MainWindow, "q == (PixelPacket *) NULL",
                           platform::kMessageCaption, platform::MessageButtons::Ok);
  }

  // The slice is averaged straight into the image's rows.
  void DrawOne(const Slice& slice, WorkerSurfaces& surfaces, ImageWriter::View& out) {
    const int out_rows = slice.height / plan.factor;
    const std::span<MagickCore::PixelPacket> rows = out.Rows(slice.offset / plan.factor, out_rows);
    if (rows.empty()) return TellImageFailed();
    auto drawn = DrawSlice(page, slice.offset, slice.height, surfaces.For(page.drawing_width, slice.height), rows);
    if (!drawn) return Fail(drawn.error());
    Note(*drawn);
    if (!out.Sync(out_rows)) TellImageFailed();
  }

  void Run() {
    try {
      WorkerSurfaces surfaces;
      ImageWriter::View& out = writer.TakeView();
      for (std::size_t k = next++; k < slices.size() && !failed; k = next++) {
        StartBands(slices[k]);
        DrawOne(slices[k], surfaces, out);
      }
    } catch (const Magick::Exception& error) {
      Fail(error.what());
    } catch (const std::bad_alloc&) {
      Fail("out of memory while drawing the page");
    } catch (const std::exception& error) {
      Fail(error.what());
    }
  }
};

int WorkerCount(int requested) {
  return std::max(1, requested > 0 ? requested : static_cast<int>(std::thread::hardware_concurrency()));
}

// Most rows per slice: a whole band when it fits the cached slice size,
// else the largest multiple of the factor that does. It does not depend on
// the number of workers, so neither do the pixels.
int SliceHeight(const BandPlan& plan) {
  const std::int64_t row_bytes = std::int64_t{plan.drawing_width} * 4;
  const std::int64_t groups = std::max<std::int64_t>(1, kCachedSliceBytes / (row_bytes * plan.factor));
  return static_cast<int>(std::min<std::int64_t>(plan.band_height, groups * plan.factor));
}

// Workers that fit the surface budget the page image leaves, one surface
// of the slice height each, and no more than there are slices.
int FittingWorkers(int requested, const BandPlan& plan, int slice_height, std::size_t slices,
                   std::int64_t image_bytes) {
  const std::int64_t budget = std::clamp(kMemoryTarget - image_bytes, kMinSurfaceBudget, kMaxSurfaceBudget);
  const std::int64_t surface_bytes = std::int64_t{plan.drawing_width} * 4 * slice_height;
  const std::int64_t fitting = std::max<std::int64_t>(1, budget / std::max<std::int64_t>(1, surface_bytes));
  return static_cast<int>(std::min({std::int64_t{requested}, fitting,
                                    std::max<std::int64_t>(1, static_cast<std::int64_t>(slices))}));
}

}  // namespace

tl::expected<RenderedPage, RenderError> RenderPage(const RenderRequest& request) {
  EnsureImageLibrary();
  const RenderOptions options = Clamped(request.options);
  const gdi::Metafile* metafile =
      request.metafile && !request.metafile->IsNull() ? request.metafile : nullptr;

  RenderedPage result;
  std::optional<Frame> frame;
  if (metafile) {
    const auto& f = metafile->Header().frame;
    frame = Frame{f.left, f.top, f.right, f.bottom};
  }
  const PageGeometry geometry =
      ComputePageGeometry(frame, request.resolution, options.ScaleCur, request.thumbnail);
  if (geometry.width_mm) {
    result.page_size = PageSizeMm{*geometry.width_mm, *geometry.height_mm};
    SetLastPageSizeMm(*result.page_size);
  }
  if (const auto problem = geometry.Problem()) return tl::unexpected(RenderError{std::string(*problem)});
  if (!request.thumbnail && ReducesToPalette(options.encoding) &&
      geometry.columns * geometry.rows > limits::kPalettePagePixels.value)
    return tl::unexpected(RenderError{std::string(limits::kPalettePagePixels.message)});

  const int columns = static_cast<int>(geometry.columns);
  // A surface row cannot be wider than the GDI layer allows: very wide
  // pages are supersampled less rather than not at all.
  const int widest_factor = std::max(1, static_cast<int>(gdi::Surface::kMaxSide / columns));
  const bool supersample = options.KodAntialias >= 2 && !request.thumbnail;
  const int factor = supersample ? std::min(options.KodAntialias, widest_factor) : 1;
  const int rows = static_cast<int>(geometry.rows);
  const BandPlan plan = PlanBands(columns, rows, factor);

  PageDrawing page;
  page.metafile = metafile;
  page.columns = columns;
  page.factor = factor;
  page.drawing_width = plan.drawing_width;
  page.total_height = plan.total_height;
  page.background = options.background;
  page.background_factor = options.KodAntialias >= 1 && !request.thumbnail ? options.KodAntialias : 1;
  page.stamp = options.lvIncludeDateTime && !request.thumbnail;
  page.antialias_setting = options.KodAntialias;
  if (page.stamp) page.stamp_text = DateStampText(request.stamp_time.value_or(QDateTime::currentDateTime()));

  ViewScope view_scope(request.view, plan.nominal_count);
  try {
    Magick::Image image;
    image.quiet(true);
    image.size(Magick::Geometry(static_cast<std::size_t>(columns), static_cast<std::size_t>(rows)));
    image.depth(8);

    const std::int64_t image_bytes = std::int64_t{columns} * rows * std::int64_t{sizeof(Magick::PixelPacket)};
    const int slice_height = SliceHeight(plan);
    std::vector<Slice> slices = PlanSlices(plan, slice_height);
    const int workers = FittingWorkers(WorkerCount(request.threads), plan, slice_height, slices.size(), image_bytes);
    ImageWriter writer(image, columns, workers);
    BandWork work(page, plan, std::move(slices), request.view, writer);
    RunOnBandWorkers(workers - 1, [&work] { work.Run(); });
    if (work.failed) return tl::unexpected(RenderError{work.error});
    if (writer.RowsWritten() == 0)
      return tl::unexpected(RenderError{"the image library could not hold the page"});
    result.bands = static_cast<int>(plan.bands.size());
    result.notes = std::move(work.notes);

    if (auto configured = ConfigureForOutput(image, request.resolution, options.encoding); !configured)
      return tl::unexpected(RenderError{configured.error()});
    if (request.preview && !request.thumbnail && WritesPreview(options.encoding)) {
      std::lock_guard preview_lock(g_preview_mutex);
      auto written = WritePreview(image, options.encoding);
      if (!written) return tl::unexpected(RenderError{written.error()});
      if (*written) {
        result.size_kb = **written;
        SetCurrentImageSizeKb(**written);
      }
    }
    if (image.columns() == 0 || image.rows() == 0)
      return tl::unexpected(RenderError{"the rendered page came back empty"});
    result.image = std::move(image);
  } catch (const Magick::Exception& error) {
    return tl::unexpected(RenderError{error.what()});
  } catch (const std::bad_alloc&) {
    return tl::unexpected(RenderError{"out of memory while rendering the page"});
  } catch (const std::exception& error) {
    return tl::unexpected(RenderError{error.what()});
  }
  if (request.view) {
    if (!result.notes.empty()) request.view->PageNoted(result.notes);
    request.view->InvalidateStatusArea();
  }
  return result;
}

}  // namespace pw::render
