#pragma once
// A white surface with a device context in MM_TEXT (one logical unit is one
// pixel), and the measurements the text tests make on what was drawn.
#include <optional>
#include <string>

#include <QImage>
#include <QRect>

#include "platform/gdi/dc/device_context.h"
#include "platform/gdi/dc/surface.h"

namespace pw::gdi::test {

class TextCanvas {
 public:
  TextCanvas(int width, int height) : surface_(*Surface::Create(width, height)), dc_(surface_) {}
  DeviceContext& dc() { return dc_; }
  const QImage& image() const { return surface_.image(); }

  void Select(const std::u16string& face, int height, int weight = 400, bool italic = false,
              int escapement = 0, std::uint8_t charset = 0) {
    Font font;
    font.logfont.face_name = face;
    font.logfont.height = height;
    font.logfont.weight = weight;
    font.logfont.italic = italic ? 1 : 0;
    font.logfont.escapement = escapement;
    font.logfont.orientation = escapement;
    font.logfont.char_set = charset;
    dc_.SelectFont(font);
  }

 private:
  Surface surface_;
  DeviceContext dc_;
};

// Bounding box of the pixels that are not white; empty when there are none.
inline QRect InkBox(const QImage& image, QRgb background = 0xFFFFFFFFu) {
  QRect box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != background) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

// `image` moved by (dx, dy) on a white page of the same size.
inline QImage Shifted(const QImage& image, int dx, int dy) {
  QImage out(image.size(), image.format());
  out.fill(0xFFFFFFFFu);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const int sx = x - dx, sy = y - dy;
      if (sx >= 0 && sy >= 0 && sx < image.width() && sy < image.height()) out.setPixel(x, y, image.pixel(sx, sy));
    }
  }
  return out;
}

inline int CountPixels(const QImage& image, QRgb color) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == color;
  return n;
}

}  // namespace pw::gdi::test
