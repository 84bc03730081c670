// Lines, curves and filled shapes of the device context.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/gdi/dc/device_context.h"
#include "platform/gdi/dc/gdi_style.h"
#include "platform/gdi/dc/rounding.h"

namespace pw::gdi {

namespace {

constexpr double kRadToDeg = 180.0 / std::numbers::pi;

// The parametric angle, in Qt's degrees, of the point where the ray from the
// ellipse's centre through `p` meets it.
double EllipseAngle(const QRectF& rect, QPointF p) {
  const QPointF c = rect.center();
  const double rx = rect.width() / 2, ry = rect.height() / 2;
  return std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx) * kRadToDeg;
}

double Sweep(double start, double end, bool counter_clockwise) {
  double sweep = end - start;
  if (!std::isfinite(sweep)) return 0;
  if (counter_clockwise) {
    while (sweep <= 0) sweep += 360;
    while (sweep > 360) sweep -= 360;
  } else {
    while (sweep >= 0) sweep -= 360;
    while (sweep < -360) sweep += 360;
  }
  return sweep;
}

QPointF PointOnEllipse(const QRectF& rect, double degrees) {
  const double a = degrees / kRadToDeg;
  const QPointF c = rect.center();
  return QPointF(c.x() + rect.width() / 2 * std::cos(a), c.y() - rect.height() / 2 * std::sin(a));
}

QPoint Rounded(QPointF p) { return QPoint(RoundHalfUp(p.x()), RoundHalfUp(p.y())); }

std::vector<QPolygon> PixelOutline(const QPainterPath& figure);

}  // namespace

int DeviceContext::PenDeviceWidth() const {
  const Pen& pen = state_.pen;
  if (pen.extended && !pen.geometric) return 1;
  if (pen.width == 0) return 1;
  const QLineF v = device_transform_.map(QLineF(0, 0, pen.width, 0));
  const double length = v.length();
  if (!std::isfinite(length)) return 1;
  return static_cast<int>(std::clamp<double>(std::lround(length), 1, 1 << 20));
}

void DeviceContext::StrokeDevicePath(const QPainterPath& figure) {
  if (state_.pen.IsNull()) return;
  const int width = PenDeviceWidth();
  painter_.setPen(ToQPen(state_.pen, width, state_));
  painter_.setBrush(Qt::NoBrush);
  if (width > 1) {
    // Wide pens are centred on the centres of the pixels their points name.
    painter_.drawPath(figure.translated(0.5, 0.5));
  } else {
    for (const QPolygon& pixels : PixelOutline(figure)) painter_.drawPolyline(pixels);
  }
  painter_.setPen(Qt::NoPen);
}

namespace {

// One-pixel lines join whole pixels, as GDI flattens curves to integer points.
std::vector<QPolygon> PixelOutline(const QPainterPath& figure) {
  std::vector<QPolygon> out;
  for (const QPolygonF& poly : figure.toSubpathPolygons()) {
    QPolygon pixels;
    pixels.reserve(poly.size());
    for (const QPointF& p : poly) {
      const QPoint q = Rounded(p);
      if (pixels.isEmpty() || pixels.back() != q) pixels.push_back(q);
    }
    if (pixels.size() == 1) pixels.push_back(pixels.front());
    out.push_back(std::move(pixels));
  }
  return out;
}

}  // namespace

void DeviceContext::Render(const QPainterPath& figure, bool fill, bool stroke) {
  RenderFigure(figure, figure, fill, stroke);
}

void DeviceContext::RenderFigure(const QPainterPath& area, const QPainterPath& outline, bool fill, bool stroke) {
  if (PathOpen()) {
    AddToPath(area, false);
    return;
  }
  if (area.isEmpty() || !ToCompositionMode(state_.rop2)) return;
  BeginPaint();
  if (fill && !state_.brush.IsNull()) {
    QPainterPath filled = area;
    if (stroke && !state_.pen.IsNull() && PenDeviceWidth() <= 1 && &area != &outline) {
      // Under a one-pixel outline the area is the outline's own polygon, so
      // that no filled pixel lies outside it.
      filled = QPainterPath();
      for (const QPolygon& pixels : PixelOutline(outline)) filled.addPolygon(QPolygonF(pixels));
    }
    filled.setFillRule(state_.fill_mode == PolyFillMode::Winding ? Qt::WindingFill : Qt::OddEvenFill);
    painter_.fillPath(filled, ToQBrush(state_.brush, state_));
  }
  if (stroke) StrokeDevicePath(outline);
}

void DeviceContext::FillDevicePath(const QPainterPath& device_path, const Brush& brush) {
  if (brush.IsNull() || !ToCompositionMode(state_.rop2)) return;
  BeginPaint();
  painter_.fillPath(device_path, ToQBrush(brush, state_));
}

QPainterPath DeviceContext::PolyPath(std::span<const QPoint> points, bool close) const {
  QPainterPath path;
  if (points.empty()) return path;
  path.moveTo(ToDevice(points[0]));
  for (std::size_t i = 1; i < points.size(); ++i) path.lineTo(ToDevice(points[i]));
  if (close) path.closeSubpath();
  return path;
}

void DeviceContext::MoveTo(QPoint logical) { state_.current_position = logical; }

void DeviceContext::LineTo(QPoint to) {
  QPainterPath path;
  path.moveTo(ToDevice(state_.current_position));
  path.lineTo(ToDevice(to));
  state_.current_position = to;
  if (PathOpen()) {
    AddToPath(path, true);
    return;
  }
  Render(path, false);
}

void DeviceContext::Polyline(std::span<const QPoint> points) {
  if (points.size() < 2) return;
  Render(PolyPath(points, false), false);
}

void DeviceContext::PolylineTo(std::span<const QPoint> points) {
  if (points.empty()) return;
  QPainterPath path;
  path.moveTo(ToDevice(state_.current_position));
  for (const QPoint& p : points) path.lineTo(ToDevice(p));
  state_.current_position = points.back();
  if (PathOpen()) {
    AddToPath(path, true);
    return;
  }
  Render(path, false);
}

void DeviceContext::PolyBezier(std::span<const QPoint> points) {
  if (points.size() < 4 || (points.size() - 1) % 3 != 0) return;
  QPainterPath path;
  path.moveTo(ToDevice(points[0]));
  for (std::size_t i = 1; i + 2 < points.size(); i += 3)
    path.cubicTo(ToDevice(points[i]), ToDevice(points[i + 1]), ToDevice(points[i + 2]));
  Render(path, false);
}

void DeviceContext::PolyBezierTo(std::span<const QPoint> points) {
  if (points.empty() || points.size() % 3 != 0) return;
  QPainterPath path;
  path.moveTo(ToDevice(state_.current_position));
  for (std::size_t i = 0; i + 2 < points.size(); i += 3)
    path.cubicTo(ToDevice(points[i]), ToDevice(points[i + 1]), ToDevice(points[i + 2]));
  state_.current_position = points.back();
  if (PathOpen()) {
    AddToPath(path, true);
    return;
  }
  Render(path, false);
}

void DeviceContext::PolyPolyline(std::span<const QPoint> points, std::span<const std::uint32_t> counts) {
  QPainterPath path;
  std::size_t at = 0;
  for (std::uint32_t count : counts) {
    if (count > points.size() - at) break;
    if (count >= 2) path.addPath(PolyPath(points.subspan(at, count), false));
    at += count;
  }
  Render(path, false);
}

void DeviceContext::PolyDraw(std::span<const QPoint> points, std::span<const std::uint8_t> types) {
  const std::size_t n = std::min(points.size(), types.size());
  QPainterPath path;
  path.moveTo(ToDevice(state_.current_position));
  QPoint current = state_.current_position;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t type = types[i] & ~static_cast<std::uint8_t>(PolyDrawType::CloseFigure);
    const bool close = types[i] & static_cast<std::uint8_t>(PolyDrawType::CloseFigure);
    if (type == static_cast<std::uint8_t>(PolyDrawType::MoveTo)) {
      path.moveTo(ToDevice(points[i]));
      current = points[i];
    } else if (type == static_cast<std::uint8_t>(PolyDrawType::LineTo)) {
      path.lineTo(ToDevice(points[i]));
      current = points[i];
    } else if (type == static_cast<std::uint8_t>(PolyDrawType::BezierTo) && i + 2 < n) {
      path.cubicTo(ToDevice(points[i]), ToDevice(points[i + 1]), ToDevice(points[i + 2]));
      current = points[i + 2];
      i += 2;
    } else {
      break;  // a malformed type list ends the figure, as GDI refuses it
    }
    if (close) path.closeSubpath();
  }
  state_.current_position = current;
  if (PathOpen()) {
    AddToPath(path, true);
    return;
  }
  Render(path, false);
}

void DeviceContext::Polygon(std::span<const QPoint> points) {
  if (points.size() < 2) return;
  Render(PolyPath(points, true), true);
}

void DeviceContext::PolyPolygon(std::span<const QPoint> points, std::span<const std::uint32_t> counts) {
  QPainterPath path;
  std::size_t at = 0;
  for (std::uint32_t count : counts) {
    if (count > points.size() - at) break;
    if (count >= 2) path.addPath(PolyPath(points.subspan(at, count), true));
    at += count;
  }
  Render(path, true);
}

// The device box of a figure: its corners in device pixels, ordered, and
// shrunk for an inside-frame pen. Empty when the box has no width or height.
std::optional<QRect> DeviceContext::DeviceBox(RectL box) const {
  const QPoint a = ToDevice(QPoint(box.left, box.top));
  const QPoint b = ToDevice(QPoint(box.right, box.bottom));
  int x1 = std::min(a.x(), b.x()), x2 = std::max(a.x(), b.x());
  int y1 = std::min(a.y(), b.y()), y2 = std::max(a.y(), b.y());
  if (x1 == x2 || y1 == y2) return std::nullopt;
  if (state_.pen.style == PenStyle::InsideFrame) {
    const int w = PenDeviceWidth();
    x1 += w / 2;
    y1 += w / 2;
    x2 -= (w - 1) / 2;
    y2 -= (w - 1) / 2;
  }
  return QRect(QPoint(x1, y1), QPoint(x2, y2));  // both corners included
}

QPainterPath DeviceContext::RectanglePath(RectL box) const {
  QPainterPath path;
  const bool ccw = state_.arc_direction == ArcDirection::CounterClockwise;
  QPolygonF corners;
  if (IsAxisAligned()) {
    const auto device = DeviceBox(box);
    if (!device) return path;
    const double x1 = device->left(), y1 = device->top(), x2 = device->right(), y2 = device->bottom();
    if (ccw)
      corners << QPointF(x2, y1) << QPointF(x1, y1) << QPointF(x1, y2) << QPointF(x2, y2);
    else
      corners << QPointF(x1, y1) << QPointF(x2, y1) << QPointF(x2, y2) << QPointF(x1, y2);
    path.addPolygon(corners);
    path.closeSubpath();
    return path;
  }
  if (ccw)
    corners << QPointF(box.right, box.top) << QPointF(box.left, box.top) << QPointF(box.left, box.bottom)
            << QPointF(box.right, box.bottom);
  else
    corners << QPointF(box.left, box.top) << QPointF(box.right, box.top) << QPointF(box.right, box.bottom)
            << QPointF(box.left, box.bottom);
  path.addPolygon(device_transform_.map(corners));
  path.closeSubpath();
  return path;
}

// The rectangle a curved figure is built in: the whole device box for its
// area, the pixels inside its right and bottom edge for its outline.
std::optional<QRectF> DeviceContext::CurveBox(RectL box, bool outline) const {
  const auto device = DeviceBox(box);
  if (!device) return std::nullopt;
  const double w = device->right() - device->left(), h = device->bottom() - device->top();
  if (outline) return QRectF(device->left(), device->top(), w - 1, h - 1);
  // Under an outline the area is the outline's own curve; without one GDI's
  // filled ellipses reach a little further, not quite to the box's edge.
  if (!state_.pen.IsNull()) return QRectF(device->left() + 0.5, device->top() + 0.5, w - 1, h - 1);
  return QRectF(device->left() + 0.25, device->top() + 0.25, w - 0.5, h - 0.5);
}

QPainterPath DeviceContext::EllipsePath(RectL box, bool outline) const {
  QPainterPath path;
  if (IsAxisAligned()) {
    if (const auto rect = CurveBox(box, outline)) path.addEllipse(*rect);
    return path;
  }
  QPainterPath logical;
  logical.addEllipse(QRectF(QPointF(box.left, box.top), QPointF(box.right, box.bottom)).normalized());
  return device_transform_.map(logical);
}

QPainterPath DeviceContext::RoundRectPath(RectL box, QSize corner, bool outline) const {
  QPainterPath path;
  if (IsAxisAligned()) {
    const auto rect = CurveBox(box, outline);
    if (!rect) return path;
    const double rx = std::min(std::fabs(corner.width() * device_transform_.m11()) / 2, rect->width() / 2);
    const double ry = std::min(std::fabs(corner.height() * device_transform_.m22()) / 2, rect->height() / 2);
    path.addRoundedRect(*rect, rx, ry);
    return path;
  }
  QPainterPath logical;
  const QRectF rect = QRectF(QPointF(box.left, box.top), QPointF(box.right, box.bottom)).normalized();
  logical.addRoundedRect(rect, std::min(std::abs(corner.width()) / 2.0, rect.width() / 2),
                         std::min(std::abs(corner.height()) / 2.0, rect.height() / 2));
  return device_transform_.map(logical);
}

void DeviceContext::Rectangle(RectL box) { Render(RectanglePath(box), true); }

void DeviceContext::Ellipse(RectL box) { RenderFigure(EllipsePath(box, false), EllipsePath(box, true), true, true); }

void DeviceContext::RoundRect(RectL box, QSize corner) {
  RenderFigure(RoundRectPath(box, corner, false), RoundRectPath(box, corner, true), true, true);
}

// closing: 0 an open arc, 1 a chord, 2 a pie.
QPainterPath DeviceContext::ArcPath(RectL box, QPoint start, QPoint end, int closing, bool outline) const {
  QPainterPath path;
  const QTransform& t = device_transform_;
  bool ccw = state_.arc_direction == ArcDirection::CounterClockwise;
  QRectF rect;
  QPointF s, e;
  const bool axis_aligned = IsAxisAligned();
  if (axis_aligned) {
    const auto device = CurveBox(box, outline);
    if (!device) return path;
    rect = *device;
    s = ToDeviceF(QPointF(start));
    e = ToDeviceF(QPointF(end));
    if (t.m11() * t.m22() < 0) ccw = !ccw;  // the direction is the logical one
  } else {
    rect = QRectF(QPointF(box.left, box.top), QPointF(box.right, box.bottom)).normalized();
    s = QPointF(start);
    e = QPointF(end);
  }
  if (rect.width() <= 0 || rect.height() <= 0) return path;
  const double a0 = EllipseAngle(rect, s);
  const double a1 = EllipseAngle(rect, e);
  const double sweep = Sweep(a0, a1, ccw);
  if (closing == 2) {
    path.moveTo(rect.center());
    path.arcTo(rect, a0, sweep);
    path.closeSubpath();
  } else {
    path.arcMoveTo(rect, a0);
    path.arcTo(rect, a0, sweep);
    if (closing == 1) path.closeSubpath();
  }
  return axis_aligned ? path : device_transform_.map(path);
}

void DeviceContext::Arc(RectL box, QPoint start, QPoint end) {
  const QPainterPath arc = ArcPath(box, start, end, 0, true);
  RenderFigure(arc, arc, false, true);
}

void DeviceContext::ArcTo(RectL box, QPoint start, QPoint end) {
  const QPainterPath arc = ArcPath(box, start, end, 0, true);
  QPainterPath path;
  path.moveTo(ToDevice(state_.current_position));
  if (!arc.isEmpty()) path.connectPath(arc);
  // The current position moves to the arc's end, on the ellipse.
  const QRectF rect = QRectF(QPointF(box.left, box.top), QPointF(box.right, box.bottom)).normalized();
  if (rect.width() > 0 && rect.height() > 0)
    state_.current_position = Rounded(PointOnEllipse(rect, EllipseAngle(rect, QPointF(end))));
  if (PathOpen()) {
    AddToPath(path, true);
    return;
  }
  Render(path, false);
}

void DeviceContext::AngleArc(QPoint center, std::uint32_t radius, float start_degrees, float sweep_degrees) {
  const double r = radius;
  const QRectF rect(center.x() - r, center.y() - r, 2 * r, 2 * r);
  QPainterPath logical;
  logical.moveTo(QPointF(state_.current_position));
  logical.lineTo(PointOnEllipse(rect, start_degrees));
  logical.arcTo(rect, start_degrees, sweep_degrees);
  state_.current_position = Rounded(PointOnEllipse(rect, double{start_degrees} + sweep_degrees));
  const QPainterPath path = device_transform_.map(logical);
  if (PathOpen()) {
    AddToPath(path, true);
    return;
  }
  Render(path, false);
}

void DeviceContext::Chord(RectL box, QPoint start, QPoint end) {
  RenderFigure(ArcPath(box, start, end, 1, false), ArcPath(box, start, end, 1, true), true, true);
}

void DeviceContext::Pie(RectL box, QPoint start, QPoint end) {
  RenderFigure(ArcPath(box, start, end, 2, false), ArcPath(box, start, end, 2, true), true, true);
}

void DeviceContext::SetPixel(QPoint logical, ColorRef color) {
  BeginPaint();
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_.fillRect(QRect(ToDevice(logical), QSize(1, 1)), QColor(ToQRgb(color)));
}

void DeviceContext::FillRegion(const QRegion& logical, const Brush& brush) {
  QPainterPath path;
  path.addRegion(RegionToDevice(logical));
  FillDevicePath(path, brush);
}

void DeviceContext::FrameRegion(const QRegion& logical, const Brush& brush, QSize logical_width) {
  const QRegion device = RegionToDevice(logical);
  const int w = std::max(1, static_cast<int>(std::lround(std::fabs(logical_width.width() * device_transform_.m11()))));
  const int h = std::max(1, static_cast<int>(std::lround(std::fabs(logical_width.height() * device_transform_.m22()))));
  const QRegion inner = device & device.translated(w, 0) & device.translated(-w, 0) & device.translated(0, h) &
                        device.translated(0, -h);
  QPainterPath path;
  path.addRegion(device - inner);
  FillDevicePath(path, brush);
}

void DeviceContext::InvertRegion(const QRegion& logical) {
  BeginPaint();
  painter_.setCompositionMode(QPainter::RasterOp_NotDestination);
  QPainterPath path;
  path.addRegion(RegionToDevice(logical));
  painter_.fillPath(path, Qt::black);
}

void DeviceContext::PaintRegion(const QRegion& logical) { FillRegion(logical, state_.brush); }

}  // namespace pw::gdi
