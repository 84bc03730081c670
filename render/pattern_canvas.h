#pragma once
// The few drawing operations the page background and the hatch preview
// need. The rasteriser and the hatch dialog hand in an adapter over their
// device context; tests hand in a recorder.
#include <cstdint>
#include <span>

namespace pw::render {

struct DevicePoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const DevicePoint&, const DevicePoint&) = default;
};

struct PageRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

class PatternCanvas {
 public:
  virtual ~PatternCanvas() = default;
  // Fills with a solid brush of the COLORREF (0x00BBGGRR).
  virtual void FillRect(const PageRect& rect, std::uint32_t color) = 0;
  // Selects a solid pen, keeping the previous one for RestorePen.
  virtual void SelectSolidPen(int width, std::uint32_t color) = 0;
  // Puts the previous pen back and deletes the pen and brush made here.
  virtual void RestorePen() = 0;
  virtual void MoveTo(DevicePoint point) = 0;
  virtual void LineTo(DevicePoint point) = 0;
  // Cubic Bezier segments: a start point and three points per segment.
  virtual void PolyBezier(std::span<const DevicePoint> points) = 0;
};

}  // namespace pw::render
