#include "render/band_drawing.h"

#include <utility>

#include "platform/gdi/dc/device_context.h"
#include "platform/gdi/player/player.h"
#include "platform/limits/limits.h"
#include "render/background.h"
#include "render/gdi_canvas.h"
#include "render/page_text.h"
#include "render/supersample.h"

namespace pw::render {

tl::expected<PlayNotes, std::string> DrawSlice(const PageDrawing& page, int offset, int height, SliceSurface& kept,
                                               std::span<MagickCore::PixelPacket> out) {
  // A surface kept from the last slice is not cleared: every background
  // starts by filling the whole page rectangle, which covers it, and that
  // fill is skipped when the surface holds it already.
  std::optional<gdi::Surface>& surface = kept.surface;
  if (!surface || surface->width() != page.drawing_width || surface->height() != height) {
    surface.reset();
    surface = gdi::Surface::Create(page.drawing_width, height);
    kept.filled_with = gdi::Surface::kNewColorRef;
  }
  if (!surface) {
    kept.filled_with.reset();
    const limits::Limit* bound = limits::SurfaceBoundPassed(page.drawing_width, height);
    return tl::unexpected(std::string(bound ? bound->message : "the drawing surface cannot be made"));
  }
  gdi::PlayReport report;
  {
    gdi::DeviceContext dc(*surface);
    const PageRect rect{0, -offset, page.drawing_width, page.total_height - offset};
    GdiPatternCanvas canvas(dc, std::exchange(kept.filled_with, std::nullopt));
    DrawBackground(canvas, rect, offset, page.background, page.background_factor, {},
                   VisibleArea{surface->width(), surface->height()});
    if (page.metafile) {
      gdi::PlayMetafile(dc, *page.metafile, gdi::RectL{rect.left, rect.top, rect.right, rect.bottom}, &report);
      if (page.stamp) DrawDateStamp(dc, rect, page.stamp_text, page.antialias_setting);
    } else {
      DrawUnsupportedNotice(dc, rect);
    }
  }  // the painter lets go of the surface here

  QImage& image = surface->image();
  const int out_rows = height / page.factor;
  const SurfaceRows rows{std::span<std::uint8_t>(image.bits(), static_cast<std::size_t>(image.sizeInBytes())),
                         static_cast<std::size_t>(image.bytesPerLine()), image.width(), image.height()};
  const std::uint32_t fill = BackgroundFill(page.background);
  if (!AverageBlocks(rows, page.factor, page.columns, out_rows, out, gdi::Surface::PixelFor(fill)))
    return tl::unexpected(std::string("the drawing surface has an unexpected size"));
  // The refill covers the averaged blocks; they are the whole surface
  // unless its size is not a whole number of them.
  if (out_rows * page.factor == image.height() && page.columns * page.factor == image.width())
    kept.filled_with = fill;
  return std::move(report.notes);
}

}  // namespace pw::render
