#pragma once
// A rendered image as a 32-bit top-down DIB, for the thumbnail strip and
// anything else that paints pixels through the GDI layer.
#include <Magick++.h>

#include <optional>

#include "platform/gdi/dc/surface.h"

namespace pw::render {

// The image's pixels, row for row; nothing when the image is empty or the
// surface cannot be made. The caller owns the result.
std::optional<gdi::Surface> ImageToBitmap(const Magick::Image& image);

}  // namespace pw::render
