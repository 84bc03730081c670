#include "render/image_to_bitmap.h"

#include "render/image_library.h"
#include "render/quantum_scale.h"

namespace pw::render {

std::optional<gdi::Surface> ImageToBitmap(const Magick::Image& image) {
  EnsureImageLibrary();
  const std::size_t columns = image.columns(), rows = image.rows();
  if (columns == 0 || rows == 0 || columns > std::size_t{gdi::Surface::kMaxSide} ||
      rows > std::size_t{gdi::Surface::kMaxSide})
    return std::nullopt;
  auto surface = gdi::Surface::Create(static_cast<int>(columns), static_cast<int>(rows));
  if (!surface) return std::nullopt;
  try {
    const Magick::PixelPacket* p = image.getConstPixels(0, 0, columns, rows);
    if (!p) return std::nullopt;
    QImage& bits = surface->image();
    for (std::size_t y = 0; y < rows; ++y) {
      std::uint8_t* row = bits.scanLine(static_cast<int>(y));
      for (std::size_t x = 0; x < columns; ++x, ++p, row += 4) {
        row[0] = QuantumToByte(p->blue);
        row[1] = QuantumToByte(p->green);
        row[2] = QuantumToByte(p->red);
        row[3] = 0xFF;  // the surface format wants the unused byte set
      }
    }
  } catch (const Magick::Exception&) {
    return std::nullopt;
  }
  return surface;
}

}  // namespace pw::render
