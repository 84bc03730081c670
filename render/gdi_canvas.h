#pragma once
// The pattern canvas over a GDI device context, in its logical coordinates.
#include "platform/gdi/device_context.h"
#include "render/pattern_canvas.h"

namespace pw::render {

class GdiPatternCanvas : public PatternCanvas {
 public:
  explicit GdiPatternCanvas(gdi::DeviceContext& dc) : dc_(dc) {}

  void FillRect(const PageRect& rect, std::uint32_t color) override;
  void SelectSolidPen(int width, std::uint32_t color) override;
  void RestorePen() override;
  void MoveTo(DevicePoint point) override;
  void LineTo(DevicePoint point) override;
  void PolyBezier(std::span<const DevicePoint> points) override;

 private:
  gdi::DeviceContext& dc_;
  gdi::Pen previous_;
  bool pen_selected_ = false;
};

}  // namespace pw::render
