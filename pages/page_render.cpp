#include "pages/page_render.h"

#include <mutex>
#include <utility>

#include "pages/page_set.h"
#include "platform/msgbox/message_box.h"
#include "render/current_settings.h"

namespace pw::pages {
namespace {

std::mutex& RenderLock() {
  static std::mutex lock;
  return lock;
}

bool IsThumbnail(RenderPurpose purpose) {
  return purpose == RenderPurpose::Thumbnail || purpose == RenderPurpose::WriterThumbnail;
}

}  // namespace

tl::expected<render::RenderedPage, render::RenderError> RenderPageOfSet(const PageRender& render) {
  PageSet& pages = Pages();
  // A strip thumbnail is made before its record is counted (the record is
  // published whole), so the next record is admitted for it as well.
  const int last = render.purpose == RenderPurpose::Thumbnail ? pages.Count() : pages.Count() - 1;
  if (render.index < 0 || render.index > last || render.index >= kMaxPages)
    return tl::unexpected(render::RenderError{"there is no page " + std::to_string(render.index + 1) + " in the set"});

  render::RenderRequest request;
  const PageRecord& record = pages.Record(render.index);
  request.metafile = record.metafile.IsNull() ? nullptr : &record.metafile;
  request.resolution = render.resolution;
  request.thumbnail = IsThumbnail(render.purpose);
  request.options = render.options ? *render.options : render::CurrentRenderOptions();
  request.view = render.view;
  request.threads = render.threads;
  request.preview = render.preview;

  const bool marks_state = render.purpose != RenderPurpose::Thumbnail;
  std::lock_guard lock(RenderLock());
  pages.SetBeingRendered(render.index);
  if (marks_state) pages.SetState(RenderingState::Busy);
  auto rendered = render::RenderPage(request);
  if (render.purpose == RenderPurpose::View)
    pages.SetCurrentImage(rendered ? rendered->image : Magick::Image(), render.index);
  if (marks_state) pages.SetState(RenderingState::Ready);
  return rendered;
}

bool RefreshCurrentPage(render::RenderView* view) {
  PageSet& pages = Pages();
  const int current = pages.Current();
  if (current < 0 || current >= pages.Count()) {
    pages.SetCurrent(-1);
    return false;
  }
  const auto rendered = RenderPageOfSet(
      {.index = current, .resolution = render::CurrentResolution(), .purpose = RenderPurpose::View, .view = view});
  if (!rendered)
    platform::MessageBox(platform::MessageOwner::MainWindow, RenderFailureText(current, rendered.error().message),
                         platform::kMessageCaption);
  return true;
}

std::string RenderFailureText(int index, const std::string& why) {
  return "Page " + std::to_string(index + 1) + " could not be rendered:\n" + why;
}

}  // namespace pw::pages
