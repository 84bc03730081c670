#pragma once
// Where a blit takes each destination pixel from: the geometry shared by
// every bit-block transfer.
//
// Axis-aligned blits follow GDI's DIB engine: the destination is the device
// rectangle between the two rounded corners (a negative extent covers the
// pixels x + w + 1 … x), and each axis is stretched like a line drawn between
// pixel centres: a pixel takes the source pixel under its centre when
// enlarging; when reducing, the source pixels whose centres fall in it are
// merged (or one of them kept). Rotated and sheared blits map every
// destination pixel centre back through the parallelogram.
#include <cstdint>
#include <optional>
#include <vector>

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QTransform>

#include "platform/limits/limits.h"

namespace pw::gdi {

// A rectangle by its origin and signed extents; a negative extent mirrors.
struct BlitRect {
  std::int32_t x = 0, y = 0, cx = 0, cy = 0;
};

// Origins and extents beyond this are refused rather than computed.
inline constexpr std::int64_t kMaxBlitExtent = limits::kBlitExtent.value;

// Source pixels one destination pixel draws on along one axis: `count`
// pixels from `first`, stepping by `step`. count 0: none (outside the source).
struct SourceSpan {
  int first = 0;
  int count = 0;
  int step = 1;
};

// How an axis picks its source pixels when the sizes differ.
enum class Reduce {
  First,        // reducing: the first pixel of each run
  Last,         // reducing: the last one
  All,          // reducing: all of them, merged by the caller
  Interpolate,  // either way: the two source pixels around the pixel centre
};

// Two neighbouring source pixels and the weight of the second, in 1/256.
struct SourceLerp {
  int first = 0;
  int second = 0;
  int weight = 0;
};

class BlitPlan {
 public:
  // An axis-aligned blit. The destination is a device rectangle from `origin`
  // with signed `extent`; the source rectangle is in bitmap pixels of a
  // bitmap of `bitmap` size; `visible` limits the work to device pixels that
  // can be drawn. Nothing when the extents are empty or absurd.
  static std::optional<BlitPlan> Axis(QPoint origin, QPoint extent, BlitRect source, QSize bitmap,
                                      const QRect& visible, Reduce reduce_x, Reduce reduce_y);

  // A blit onto the parallelogram with corners p0 (source top-left), p1
  // (top-right) and p2 (bottom-left), in continuous device coordinates.
  static std::optional<BlitPlan> General(QPointF p0, QPointF p1, QPointF p2, BlitRect source,
                                         QSize bitmap, const QRect& visible);

  // The device pixels the blit may touch.
  const QRect& Bounds() const { return bounds_; }

  // The source pixels of device pixel (x, y), which must lie in Bounds();
  // false when it takes none.
  bool Lookup(int x, int y, SourceSpan& sx, SourceSpan& sy) const;

  // Whether Interpolation() is available: axis plans built with
  // Reduce::Interpolate on both axes.
  bool Interpolates() const { return !column_lerps_.empty(); }
  // The interpolation pair of device pixel (x, y) on each axis.
  void Interpolation(int x, int y, SourceLerp& lx, SourceLerp& ly) const {
    lx = column_lerps_[static_cast<std::size_t>(x - bounds_.left())];
    ly = row_lerps_[static_cast<std::size_t>(y - bounds_.top())];
  }

 private:
  BlitPlan() = default;

  QRect bounds_;
  bool axis_ = true;
  std::vector<SourceSpan> columns_;  // indexed by x - bounds_.left()
  std::vector<SourceSpan> rows_;     // indexed by y - bounds_.top()
  std::vector<SourceLerp> column_lerps_, row_lerps_;
  // General blits: device → unit square, and the source rectangle.
  QTransform to_unit_;
  BlitRect source_;
  QSize bitmap_;
};

}  // namespace pw::gdi
