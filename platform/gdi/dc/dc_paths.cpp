// Paths of the device context, and device paths turned into regions.
#include <algorithm>
#include <cmath>

#include <QPainterPathStroker>

#include "platform/gdi/dc/device_context.h"
#include "platform/gdi/dc/gdi_style.h"

namespace pw::gdi {

void DeviceContext::AddToPath(const QPainterPath& figure, bool connect_from_current) {
  if (figure.isEmpty()) return;
  QPainterPath& path = state_.path;
  const auto first = figure.elementAt(0);
  const bool continues = connect_from_current && !path.isEmpty() && first.isMoveTo() &&
                         path.currentPosition() == QPointF(first.x, first.y);
  if (!continues) {
    path.addPath(figure);
    return;
  }
  for (int i = 1; i < figure.elementCount(); ++i) {
    const auto e = figure.elementAt(i);
    if (e.isMoveTo()) {
      path.moveTo(e.x, e.y);
    } else if (e.isLineTo()) {
      path.lineTo(e.x, e.y);
    } else if (e.isCurveTo() && i + 2 < figure.elementCount()) {
      const auto c2 = figure.elementAt(i + 1);
      const auto to = figure.elementAt(i + 2);
      path.cubicTo(e.x, e.y, c2.x, c2.y, to.x, to.y);
      i += 2;
    }
  }
}

bool DeviceContext::AddToOpenPath(const QPainterPath& device_figure) {
  if (!PathOpen()) return false;
  AddToPath(device_figure, false);
  return true;
}

void DeviceContext::BeginPath() {
  state_.path = QPainterPath();
  state_.path_state = PathState::Open;
}

void DeviceContext::EndPath() {
  if (state_.path_state == PathState::Open) state_.path_state = PathState::Closed;
}

void DeviceContext::AbortPath() {
  state_.path = QPainterPath();
  state_.path_state = PathState::None;
}

void DeviceContext::CloseFigure() {
  if (state_.path_state == PathState::Open && !state_.path.isEmpty()) state_.path.closeSubpath();
}

bool DeviceContext::FillPath() {
  if (state_.path_state != PathState::Closed) return false;
  QPainterPath path = state_.path;
  AbortPath();
  Render(path, true, false);
  return true;
}

bool DeviceContext::StrokePath() {
  if (state_.path_state != PathState::Closed) return false;
  QPainterPath path = state_.path;
  AbortPath();
  Render(path, false, true);
  return true;
}

bool DeviceContext::StrokeAndFillPath() {
  if (state_.path_state != PathState::Closed) return false;
  QPainterPath path = state_.path;
  AbortPath();
  Render(path, true, true);
  return true;
}

bool DeviceContext::WidenPath() {
  if (state_.path_state != PathState::Closed) return false;
  const Pen& pen = state_.pen;
  QPainterPathStroker stroker;
  stroker.setWidth(PenDeviceWidth());
  stroker.setCapStyle(pen.end_cap == PenEndCap::Flat     ? Qt::FlatCap
                      : pen.end_cap == PenEndCap::Square ? Qt::SquareCap
                                                         : Qt::RoundCap);
  stroker.setJoinStyle(pen.join == PenJoin::Bevel   ? Qt::BevelJoin
                       : pen.join == PenJoin::Miter ? Qt::MiterJoin
                                                    : Qt::RoundJoin);
  stroker.setMiterLimit(std::max(0.5f, state_.miter_limit / 2));
  QPainterPath widened = stroker.createStroke(state_.path);
  widened.setFillRule(Qt::WindingFill);
  // The outline is drawn with pixel-centred lines; shift it onto the fill grid.
  state_.path = widened.translated(0.5, 0.5).simplified();
  return true;
}

bool DeviceContext::FlattenPath() {
  if (state_.path_state != PathState::Closed) return false;
  QPainterPath flat;
  for (const QPolygonF& poly : state_.path.toSubpathPolygons()) {
    if (poly.isEmpty()) continue;
    flat.moveTo(poly.first());
    for (int i = 1; i < poly.size(); ++i) flat.lineTo(poly[i]);
  }
  state_.path = flat;
  return true;
}

bool DeviceContext::SelectClipPath(RegionMode mode) {
  if (state_.path_state != PathState::Closed) return false;
  const QRegion region = PathToRegion(state_.path, state_.fill_mode);
  AbortPath();
  ExtSelectClipRgn(&region, mode);
  return true;
}

// Rasterises the path with the fill rule used for drawing, so that a clip
// region holds exactly the pixels a fill of the same path would cover.
QRegion DeviceContext::PathToRegion(const QPainterPath& device_path, PolyFillMode mode) const {
  const QRect surface_rect(0, 0, surface_.width(), surface_.height());
  const QRect bounds = device_path.boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1) & surface_rect;
  if (bounds.isEmpty()) return {};
  QImage mask(bounds.size(), QImage::Format_Grayscale8);
  mask.fill(0);
  {
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.translate(-bounds.topLeft());
    QPainterPath path = device_path;
    path.setFillRule(mode == PolyFillMode::Winding ? Qt::WindingFill : Qt::OddEvenFill);
    p.fillPath(path, Qt::white);
  }
  QVector<QRect> rects;
  for (int y = 0; y < mask.height(); ++y) {
    const uchar* line = mask.constScanLine(y);
    int x = 0;
    while (x < mask.width()) {
      while (x < mask.width() && !line[x]) ++x;
      const int run = x;
      while (x < mask.width() && line[x]) ++x;
      if (x > run) rects.push_back(QRect(bounds.x() + run, bounds.y() + y, x - run, 1));
    }
  }
  QRegion region;
  region.setRects(rects.constData(), static_cast<int>(rects.size()));
  return region;
}

}  // namespace pw::gdi
