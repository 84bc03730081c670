#pragma once
// Pages and options for rasteriser tests.
#include <Magick++.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/gdi/emf/emf_writer.h"
#include "platform/gdi/emf/metafile.h"
#include "render/page_rasteriser.h"
#include "render/quantum_scale.h"

namespace pw::render::testing {

// A metafile with the given frame (0.01 mm) whose reference device has ten
// pixels per millimetre, so logical units are tenths of a millimetre.
inline gdi::Metafile Page(gdi::RectL frame, const std::function<void(gdi::EmfWriter&)>& draw = {}) {
  gdi::EmfWriter w;
  const int wmm = (frame.right - frame.left) / 100, hmm = (frame.bottom - frame.top) / 100;
  w.Frame(frame).Device({std::max(wmm, 1) * 10, std::max(hmm, 1) * 10}, {std::max(wmm, 1), std::max(hmm, 1)});
  if (draw) draw(w);
  auto metafile = gdi::Metafile::FromBytes(w.Finish());
  return metafile ? *metafile : gdi::Metafile();
}

// Options that leave the pixels as drawn: no format calls, no preview file.
inline RenderOptions RawOptions(int antialias = 0) {
  RenderOptions o;
  o.KodAntialias = antialias;
  o.encoding.KodMultipageFormat = 4;
  return o;
}

struct Rgb {
  int r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline Rgb PixelAt(const Magick::Image& image, int x, int y) {
  const Magick::PixelPacket* p = image.getConstPixels(x, y, 1, 1);
  return {QuantumToByte(p->red), QuantumToByte(p->green), QuantumToByte(p->blue)};
}

inline Rgb FromColorref(std::uint32_t c) {
  return {int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)};
}

// Every pixel as 8-bit blue, green, red.
inline std::vector<std::uint8_t> Pixels(const Magick::Image& image) {
  std::vector<std::uint8_t> out;
  const std::size_t n = image.columns() * image.rows();
  out.reserve(n * 3);
  const Magick::PixelPacket* p = image.getConstPixels(0, 0, image.columns(), image.rows());
  for (std::size_t i = 0; i < n; ++i, ++p) {
    out.push_back(QuantumToByte(p->blue));
    out.push_back(QuantumToByte(p->green));
    out.push_back(QuantumToByte(p->red));
  }
  return out;
}

}  // namespace pw::render::testing
