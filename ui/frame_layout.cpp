#include "ui/frame_layout.h"

namespace pw::ui {
namespace {

// Edges to a QRect: QRect's right and bottom are inside.
QRect FromEdges(int left, int top, int right, int bottom) {
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

// The pane region that leaves gaps for the buttons at the left edge:
// buttons 0 to 4 in the first gap, 5 and 6 in the second.
QRegion ButtonGapRegion() {
  QRegion region(FromEdges(39, 0, 5000, 3000));
  region += FromEdges(0, 0, 39, 36);
  region += FromEdges(0, 209, 39, 218);
  region += FromEdges(0, 289, 39, 3000);
  return region;
}

}  // namespace

EdgeRect PageViewRect(QSize client) { return {7, 7, client.width() - 173, client.height() - 32}; }

EdgeRect StripRect(QSize client) {
  return {client.width() - 163, 7, client.width() - 7, client.height() - 7};
}

QRect ButtonGeometry(int index) {
  const int y = index < 5 ? 45 + 34 * index : 227 + 34 * (index - 5);
  return QRect(QPoint(0, y), kButtonSize);
}

QRegion InitialPageViewMask() {
  QRegion region(FromEdges(39, 0, 5000, 385));
  region += FromEdges(0, 385, 5000, 3000);
  return region;
}

FrameLayout LayoutFrame(QSize client, QSize outer_extra, int strip_bar_width) {
  FrameLayout layout;
  int cx = client.width();
  int cy = client.height();

  // Too low a window is raised to the minimum outer height; the client it
  // then has is that height less the real frame, not a fixed guess of it.
  if (cy <= kMinimumFrameHeight) {
    const int target = kMinimumFrameHeight - outer_extra.height();
    if (target != cy) {
      cy = target;
      layout.resize_frame = QSize(cx + outer_extra.width(), kMinimumFrameHeight);
    }
  }
  layout.client_height = cy;

  if (cx > kNarrowFrameWidth) {
    layout.page_view_mask = ButtonGapRegion();
    layout.page_view = QRect(7, 7, cx - 180, cy - 39);
    layout.strip = QRect(cx - 163, 7, 156, cy - 14);
    return layout;
  }

  layout.narrow = true;
  layout.page_view_shown = false;
  layout.strip_mask = ButtonGapRegion();
  const int narrow_client = kNarrowFrameWidth - outer_extra.width();
  if (narrow_client != cx) {
    layout.resize_frame = QSize(kNarrowFrameWidth, cy + outer_extra.height());
  }
  layout.strip = QRect(7, 7, strip_bar_width == kFlatBarWidth ? 153 : 156, cy - 14);
  return layout;
}

}  // namespace pw::ui
