#include "render/gdi_canvas.h"

#include <QPoint>
#include <QRect>
#include <QRegion>

#include <algorithm>
#include <utility>
#include <vector>

namespace pw::render {

void GdiPatternCanvas::FillRect(const PageRect& rect, std::uint32_t color) {
  // A band's page rectangle reaches far above and below its surface; only
  // the part on the surface can change a pixel.
  const QRect surface(0, 0, dc_.surface().width(), dc_.surface().height());
  const QRect wanted(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1));
  const bool identity = dc_.DeviceTransform().isIdentity();
  const QRect area = identity ? (wanted & surface) : wanted;
  if (area.isEmpty()) return;
  const std::optional<std::uint32_t> held = std::exchange(surface_holds_, std::nullopt);
  if (identity && area == surface && !dc_.DeviceClip() && dc_.State().rop2 == gdi::Rop2::CopyPen) {
    if (held != color) dc_.surface().Fill(color);  // the same pixels as the brush, a plain fill
    return;
  }
  gdi::Brush brush;
  brush.style = gdi::BrushStyle::Solid;
  brush.color = color;
  dc_.FillRegion(QRegion(area), brush);
}

void GdiPatternCanvas::SelectSolidPen(int width, std::uint32_t color) {
  if (!pen_selected_) previous_ = dc_.State().pen;
  pen_selected_ = true;
  gdi::Pen pen;
  pen.style = gdi::PenStyle::Solid;
  pen.width = width;
  pen.color = color;
  dc_.SelectPen(pen);
}

void GdiPatternCanvas::RestorePen() {
  if (!pen_selected_) return;
  dc_.SelectPen(previous_);
  pen_selected_ = false;
}

void GdiPatternCanvas::MoveTo(DevicePoint point) { dc_.MoveTo(QPoint(point.x, point.y)); }

void GdiPatternCanvas::LineTo(DevicePoint point) {
  surface_holds_.reset();
  dc_.LineTo(QPoint(point.x, point.y));
}

void GdiPatternCanvas::PolyBezier(std::span<const DevicePoint> points) {
  surface_holds_.reset();
  std::vector<QPoint> qpoints;
  qpoints.reserve(points.size());
  for (const DevicePoint& p : points) qpoints.emplace_back(p.x, p.y);
  dc_.PolyBezier(qpoints);
}

}  // namespace pw::render
