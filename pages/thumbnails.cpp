#include "pages/thumbnails.h"

#include <Magick++.h>

#include "pages/page_render.h"
#include "pages/page_set.h"
#include "render/image_to_bitmap.h"

namespace pw::pages {
namespace {

QImage ScaledToBox(Magick::Image image) {
  try {
    if (image.columns() == 0 || image.rows() == 0) return {};
    image.scale(Magick::Geometry(kThumbnailBox, kThumbnailBox));
    auto surface = render::ImageToBitmap(image);
    return surface ? surface->image() : QImage();
  } catch (const Magick::Exception&) {
    return {};
  }
}

}  // namespace

tl::expected<QImage, render::RenderError> MakeThumbnail(int index) {
  auto rendered = RenderPageOfSet({.index = index, .resolution = kThumbnailDpi, .purpose = RenderPurpose::Thumbnail});
  if (!rendered) return tl::unexpected(std::move(rendered.error()));
  return ScaledToBox(std::move(rendered->image));
}

void RerenderThumbnails() {
  PageSet& pages = Pages();
  const int count = pages.Count();
  for (int index = 0; index < count; ++index) {
    tl::expected<QImage, render::RenderError> thumbnail = MakeThumbnail(index);
    if (thumbnail && !thumbnail->isNull()) pages.Record(index).thumbnail = std::move(*thumbnail);
  }
}

}  // namespace pw::pages
