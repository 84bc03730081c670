#pragma once
// Strip thumbnails: a page rendered at 50 dpi and scaled to fit a box of
// 130 x 130 pixels with its proportions kept.
#include <QImage>

#include <tl/expected.hpp>

#include "render/page_rasteriser.h"

namespace pw::pages {

inline constexpr int kThumbnailDpi = 50;
inline constexpr int kThumbnailBox = 130;

// The thumbnail of page `index` of the set, which may also be the record
// the capture load is about to count. A null image when the render gave no
// pixels.
tl::expected<QImage, render::RenderError> MakeThumbnail(int index);

// Renders every counted page's thumbnail again, in page order, for settings
// that changed how pages look. A page whose render fails keeps the
// thumbnail it had. Positions in the strip stay as they are.
void RerenderThumbnails();

}  // namespace pw::pages
