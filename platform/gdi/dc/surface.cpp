#include "platform/gdi/dc/surface.h"

#include "platform/memory/large_pages.h"

namespace pw::gdi {

std::optional<Surface> Surface::Create(int width, int height) {
  if (width <= 0 || height <= 0 || limits::SurfaceBoundPassed(width, height)) return std::nullopt;
  QImage image(width, height, QImage::Format_RGB32);
  if (image.isNull()) return std::nullopt;
  platform::PreferLargePages(image.bits(), static_cast<std::size_t>(image.sizeInBytes()));
  image.fill(PixelFor(kNewColorRef));
  return Surface(std::move(image));
}

std::uint32_t Surface::PixelFor(std::uint32_t colorref) {
  const std::uint32_t r = colorref & 0xFF, g = (colorref >> 8) & 0xFF, b = (colorref >> 16) & 0xFF;
  return 0xFF000000u | (r << 16) | (g << 8) | b;
}

void Surface::Fill(std::uint32_t colorref) { image_.fill(PixelFor(colorref)); }

std::uint32_t Surface::PixelColorRef(int x, int y) const {
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return 0;
  const QRgb p = reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x];
  return static_cast<std::uint32_t>(qRed(p)) | (static_cast<std::uint32_t>(qGreen(p)) << 8) |
         (static_cast<std::uint32_t>(qBlue(p)) << 16);
}

}  // namespace pw::gdi
