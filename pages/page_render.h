#pragma once
// "Render page N of the set": the one way the page view, the thumbnail
// strip and the writers turn a page of the page set into an image. It keeps
// the page set's bookkeeping (page being rendered, rendering state, the
// current page image of a view render) and holds the render lock, so that
// bookkeeping always describes the one render in progress.
//
// The rasteriser itself may run on several threads at once (it guards the
// preview file it shares); the lock is the page set's, not the rasteriser's.
// It also keeps two page renders from each asking for a page image and band
// surfaces at the same time, since each already keeps every processor busy.
#include <optional>
#include <string>

#include <tl/expected.hpp>

#include "render/page_rasteriser.h"
#include "render/render_options.h"

namespace pw::render {
class RenderView;
}

namespace pw::pages {

enum class RenderPurpose {
  // The current page for the page view: a full render that becomes the
  // current page image; rendering state 1 before, 2 after.
  View,
  // A strip thumbnail: a thumbnail render; the rendering state is left to
  // the load or command that makes the thumbnails.
  Thumbnail,
  // A page a writer saves: a full render handed to the caller; rendering
  // state 1 before, 2 after.
  Writer,
  // A writer's thumbnail, such as a gallery's: a thumbnail render with the
  // rendering state of a writer render.
  WriterThumbnail,
};

struct PageRender {
  int index = 0;
  double resolution = 96.0;  // dpi
  RenderPurpose purpose = RenderPurpose::View;
  render::RenderView* view = nullptr;  // progress and notes; may be null
  // Band workers: 0 is one per processor, 1 draws every band in order.
  int threads = 0;
  // Whether a full render writes the preview file the status line reports.
  // A run that no window shows, such as a converter's, has no use for it.
  bool preview = true;
  // The settings' options at the time of the call when absent.
  std::optional<render::RenderOptions> options{};
};

// Renders page `render.index` of the process-wide page set. An index that
// is not a counted page is refused before anything else happens, except
// that a strip thumbnail may also be made of the record after the last
// counted one, which the capture load fills and counts only once its
// thumbnail is made. A view
// render that fails leaves the page with no current image rather than the
// image of another page.
tl::expected<render::RenderedPage, render::RenderError> RenderPageOfSet(const PageRender& render);

// The current page for the page view: when the current page index is a
// counted page, renders it at the current resolution into the current page
// image (true); otherwise the index becomes -1 (false). A render that fails
// is told in a message, leaves the page without a current image and still
// counts as rendered.
bool RefreshCurrentPage(render::RenderView* view = nullptr);

// "Page 3 could not be rendered:\n<why>", for messages.
std::string RenderFailureText(int index, const std::string& why);

}  // namespace pw::pages
