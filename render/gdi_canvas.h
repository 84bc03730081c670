#pragma once
// The pattern canvas over a GDI device context, in its logical coordinates.
#include <cstdint>
#include <optional>

#include "platform/gdi/dc/device_context.h"
#include "render/pattern_canvas.h"

namespace pw::render {

class GdiPatternCanvas : public PatternCanvas {
 public:
  // `surface_holds`: the COLORREF the whole surface is known to be filled
  // with; a fill of the whole surface in it is then skipped, until anything
  // else is drawn.
  explicit GdiPatternCanvas(gdi::DeviceContext& dc, std::optional<std::uint32_t> surface_holds = std::nullopt)
      : dc_(dc), surface_holds_(surface_holds) {}

  void FillRect(const PageRect& rect, std::uint32_t color) override;
  void SelectSolidPen(int width, std::uint32_t color) override;
  void RestorePen() override;
  void MoveTo(DevicePoint point) override;
  void LineTo(DevicePoint point) override;
  void PolyBezier(std::span<const DevicePoint> points) override;

 private:
  gdi::DeviceContext& dc_;
  std::optional<std::uint32_t> surface_holds_;
  gdi::Pen previous_;
  bool pen_selected_ = false;
};

}  // namespace pw::render
