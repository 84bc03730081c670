#pragma once
// One page of the page set to a configured raster image: page geometry,
// bands (background, the page itself, the date stamp), supersampling, then
// the image encoding and the preview file.
#include <Magick++.h>

#include <QDateTime>

#include <map>
#include <optional>
#include <string>

#include <tl/expected.hpp>

#include "platform/gdi/emf/metafile.h"
#include "render/render_options.h"
#include "render/render_outputs.h"
#include "render/render_view.h"

namespace pw::render {

struct RenderRequest {
  const gdi::Metafile* metafile = nullptr;  // null or empty: the "not supported" page
  double resolution = 96.0;                 // dpi; 0 or less sizes at 72
  // A thumbnail render ignores the page scale, supersampling, the date
  // stamp and the preview file, and scales the background by 1.
  bool thumbnail = false;
  RenderOptions options;                    // taken as they are, after Clamped()
  RenderView* view = nullptr;
  // Band workers: 0 is one per processor, 1 draws every band in order on
  // the calling thread. The image is the same either way.
  int threads = 0;
  // The moment the date stamp shows; now when absent.
  std::optional<QDateTime> stamp_time;
  // Writes the preview file when the output format calls for one. Off for
  // renders that no page view shows, such as a converter's: their image is
  // then encoded once, by the writer.
  bool preview = true;
};

struct RenderedPage {
  Magick::Image image;                 // true colour, configured for the output format
  std::optional<PageSizeMm> page_size; // only for a page with a metafile
  std::optional<int> size_kb;          // when a preview file was written
  int bands = 0;                       // bands drawn
  // What the player noted about the page, such as a bitmap left out at a
  // limit or a font replaced, counted by text (as one band saw it).
  std::map<std::string, std::uint32_t> notes;
};

struct RenderError {
  std::string message;
};

// Renders one page. What the rasteriser shares between threads is the
// preview file, which renders take turns at, and the last page size and
// image size it reports (render_outputs.h); nothing else, so renders on
// different threads may draw at the same time. Callers that keep
// bookkeeping about "the" render in progress keep renders apart themselves.
// Never returns an image without pixels.
tl::expected<RenderedPage, RenderError> RenderPage(const RenderRequest& request);

}  // namespace pw::render
