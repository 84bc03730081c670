// Gradient fills of the device context: shaded rectangles and triangles.
#include <algorithm>
#include <cmath>

#include "platform/gdi/dc/device_context.h"

namespace pw::gdi {

namespace {

struct Shade {
  double r, g, b;
};

Shade ToShade(const GradientVertex& v) { return {v.red / 256.0, v.green / 256.0, v.blue / 256.0}; }

QRgb Mix(const Shade& a, const Shade& b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  auto channel = [t](double x, double y) { return static_cast<int>(std::clamp(x + (y - x) * t, 0.0, 255.0)); };
  return qRgb(channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b));
}

}  // namespace

// Each pixel whose centre lies in the figure takes the colour interpolated,
// in logical space, at the point that names it (its top-left corner), so
// the first pixel has exactly the first vertex's colour, as in GDI.
template <typename Colour>
void DeviceContext::ShadeDeviceArea(const QPolygonF& device_polygon, Colour&& colour_at) {
  const QRect surface_rect(0, 0, surface_.width(), surface_.height());
  const QRect box = device_polygon.boundingRect().toAlignedRect() & surface_rect;
  if (box.isEmpty() || !device_transform_.isInvertible()) return;
  const QTransform to_logical = device_transform_.inverted();
  QImage tile(box.size(), QImage::Format_ARGB32);
  tile.fill(0);
  for (int y = 0; y < box.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(tile.scanLine(y));
    for (int x = 0; x < box.width(); ++x) {
      const QPointF centre(box.x() + x + 0.5, box.y() + y + 0.5);
      if (!device_polygon.containsPoint(centre, Qt::OddEvenFill)) continue;
      line[x] = colour_at(to_logical.map(QPointF(box.x() + x, box.y() + y)));
    }
  }
  Draw([&](QPainter& p) { p.drawImage(box.topLeft(), tile); });
}

void DeviceContext::GradientFillRect(const GradientVertex& a, const GradientVertex& b, bool vertical) {
  const QPolygonF logical(QRectF(QPointF(a.x, a.y), QPointF(b.x, b.y)).normalized());
  const double x0 = a.x, x1 = b.x, y0 = a.y, y1 = b.y;
  if (x0 == x1 || y0 == y1) return;
  const Shade ca = ToShade(a), cb = ToShade(b);
  ShadeDeviceArea(device_transform_.map(logical), [&](QPointF p) {
    return vertical ? Mix(ca, cb, (p.y() - y0) / (y1 - y0)) : Mix(ca, cb, (p.x() - x0) / (x1 - x0));
  });
}

void DeviceContext::GradientFillTriangle(const GradientVertex& a, const GradientVertex& b, const GradientVertex& c) {
  const QPointF pa(a.x, a.y), pb(b.x, b.y), pc(c.x, c.y);
  const double det = (pb.y() - pc.y()) * (pa.x() - pc.x()) + (pc.x() - pb.x()) * (pa.y() - pc.y());
  if (det == 0) return;
  const Shade sa = ToShade(a), sb = ToShade(b), sc = ToShade(c);
  QPolygonF logical;
  logical << pa << pb << pc;
  ShadeDeviceArea(device_transform_.map(logical), [&](QPointF p) {
    const double wa = ((pb.y() - pc.y()) * (p.x() - pc.x()) + (pc.x() - pb.x()) * (p.y() - pc.y())) / det;
    const double wb = ((pc.y() - pa.y()) * (p.x() - pc.x()) + (pa.x() - pc.x()) * (p.y() - pc.y())) / det;
    const double wc = 1 - wa - wb;
    auto channel = [&](double x, double y, double z) {
      return static_cast<int>(std::clamp(x * wa + y * wb + z * wc, 0.0, 255.0));
    };
    return qRgb(channel(sa.r, sb.r, sc.r), channel(sa.g, sb.g, sc.g), channel(sa.b, sb.b, sc.b));
  });
}

}  // namespace pw::gdi
