#pragma once
// A 32-bit top-down DIB: blue, green, red and an unused fourth byte per
// pixel, rows of width × 4 bytes. QImage::Format_RGB32 has exactly this layout.
#include <cstdint>
#include <optional>

#include <QImage>

#include "platform/limits/limits.h"

namespace pw::gdi {

class Surface {
 public:
  // Limits checked before any allocation.
  static constexpr int kMaxSide = static_cast<int>(limits::kSurfaceSide.value);
  static constexpr std::int64_t kMaxBytes = limits::kSurfaceBytes.value;

  // The COLORREF a new surface is filled with: white.
  static constexpr std::uint32_t kNewColorRef = 0x00FFFFFF;

  // A surface of kNewColorRef, or nothing when the size is empty, too large
  // or the memory cannot be had.
  static std::optional<Surface> Create(int width, int height);

  int width() const { return image_.width(); }
  int height() const { return image_.height(); }
  QImage& image() { return image_; }
  const QImage& image() const { return image_; }

  // Fills the whole surface with a COLORREF (0x00BBGGRR).
  void Fill(std::uint32_t colorref);
  // The 32-bit pixel that Fill writes for a COLORREF.
  static std::uint32_t PixelFor(std::uint32_t colorref);
  // The pixel at (x, y) as a COLORREF; 0 outside the surface.
  std::uint32_t PixelColorRef(int x, int y) const;

 private:
  explicit Surface(QImage image) : image_(std::move(image)) {}
  QImage image_;
};

}  // namespace pw::gdi
