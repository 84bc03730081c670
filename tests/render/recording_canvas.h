#pragma once
// A pattern canvas that records every call, for checking the geometry of
// backgrounds without a device context.
#include <cstdint>
#include <span>
#include <vector>

#include "render/pattern_canvas.h"

namespace pw::render::testing {

struct Call {
  enum Kind { Fill, Pen, Restore, Move, Line, Bezier } kind;
  std::vector<DevicePoint> points;  // the rectangle's corners for Fill
  int width = 0;
  std::uint32_t color = 0;
  friend bool operator==(const Call&, const Call&) = default;
};

class RecordingCanvas : public PatternCanvas {
 public:
  void FillRect(const PageRect& r, std::uint32_t color) override {
    calls.push_back({Call::Fill, {{r.left, r.top}, {r.right, r.bottom}}, 0, color});
  }
  void SelectSolidPen(int width, std::uint32_t color) override {
    calls.push_back({Call::Pen, {}, width, color});
  }
  void RestorePen() override { calls.push_back({Call::Restore, {}, 0, 0}); }
  void MoveTo(DevicePoint p) override { calls.push_back({Call::Move, {p}, 0, 0}); }
  void LineTo(DevicePoint p) override { calls.push_back({Call::Line, {p}, 0, 0}); }
  void PolyBezier(std::span<const DevicePoint> p) override {
    calls.push_back({Call::Bezier, {p.begin(), p.end()}, 0, 0});
  }

  std::size_t Count(Call::Kind kind) const {
    std::size_t n = 0;
    for (const Call& c : calls) n += c.kind == kind;
    return n;
  }

  // Straight segments as (from, to) pairs from MoveTo / LineTo runs.
  std::vector<std::pair<DevicePoint, DevicePoint>> Segments() const {
    std::vector<std::pair<DevicePoint, DevicePoint>> out;
    DevicePoint at;
    for (const Call& c : calls) {
      if (c.kind == Call::Move) at = c.points[0];
      if (c.kind == Call::Line) {
        out.push_back({at, c.points[0]});
        at = c.points[0];
      }
    }
    return out;
  }

  std::vector<Call> calls;
};

}  // namespace pw::render::testing
