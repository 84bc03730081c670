#include "tests/gdi/play_fixture.h"

#include <gtest/gtest.h>

#include "platform/gdi/dc/device_context.h"
#include "platform/gdi/emf/metafile.h"

namespace pw::gdi::test {

Played Play(const EmfWriter& writer, int width, int height) {
  auto metafile = Metafile::FromBytes(writer.Finish());
  EXPECT_TRUE(metafile) << (metafile ? "" : metafile.error().message);
  auto surface = Surface::Create(width, height);
  EXPECT_TRUE(surface);
  Played played{std::move(*surface), {}};
  if (metafile) {
    DeviceContext dc(played.surface);
    PlayMetafile(dc, *metafile, RectL{0, 0, width, height}, &played.report);
  }
  return played;
}

std::string Picture(const Surface& surface, QRect area, const std::map<ColorRef, char>& legend) {
  std::string out;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const ColorRef c = surface.PixelColorRef(x, y);
      const auto it = legend.find(c);
      out += it != legend.end() ? it->second : c == kWhite ? '.' : '?';
    }
    out += '\n';
  }
  return out;
}

int CountColor(const Surface& surface, ColorRef color, QRect area) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) n += surface.PixelColorRef(x, y) == color;
  return n;
}

QRect BoundsOf(const Surface& surface, ColorRef color) {
  QRect box;
  for (int y = 0; y < surface.height(); ++y)
    for (int x = 0; x < surface.width(); ++x)
      if (surface.PixelColorRef(x, y) == color) box |= QRect(x, y, 1, 1);
  return box;
}

RecordBuilder RegionData(std::initializer_list<RectL> rects) {
  RecordBuilder b;
  RectL bound = rects.size() ? *rects.begin() : RectL{};
  for (const RectL& r : rects) {
    bound.left = std::min(bound.left, r.left);
    bound.top = std::min(bound.top, r.top);
    bound.right = std::max(bound.right, r.right);
    bound.bottom = std::max(bound.bottom, r.bottom);
  }
  b.U32(32).U32(1).U32(static_cast<std::uint32_t>(rects.size())).U32(static_cast<std::uint32_t>(16 * rects.size()));
  b.Rect(bound);
  for (const RectL& r : rects) b.Rect(r);
  return b;
}

}  // namespace pw::gdi::test
