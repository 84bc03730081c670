#include "ui/view_scroll.h"

#include <algorithm>

namespace pw::ui {
namespace {

ScrollAxis FitAxis(int image, int client, const ScrollAxis& current) {
  if (image <= client) return {};
  ScrollAxis axis{true, image - client + kViewBarSlack, 0};
  axis.position = std::clamp(current.position, 0, axis.maximum);
  return axis;
}

}  // namespace

QSize ClientArea(QSize view, const ViewBars& bars, int bar_width) {
  return QSize(std::max(0, view.width() - (bars.vertical.shown ? bar_width : 0)),
               std::max(0, view.height() - (bars.horizontal.shown ? bar_width : 0)));
}

ViewBars FitBars(QSize image, QSize view, const ViewBars& current, int bar_width) {
  // From no bars up: each bar takes room from the other's client area, so
  // showing one may make the other needed; bars only ever get added, and
  // the least set that fits is found within three passes. Starting from
  // the bars shown before would keep a pair that no longer needs itself.
  ViewBars bars;
  for (int pass = 0; pass < 3; ++pass) {
    const ViewBars before = bars;
    bars.horizontal = FitAxis(image.width(), ClientArea(view, bars, bar_width).width(), current.horizontal);
    bars.vertical = FitAxis(image.height(), ClientArea(view, bars, bar_width).height(), current.vertical);
    if (bars == before) break;
  }
  return bars;
}

QPoint ImageOrigin(QSize image, QSize view_rect, const ViewBars& bars) {
  const int x = image.width() < view_rect.width() ? (view_rect.width() - image.width()) / 2 : 0;
  const int y = image.height() < view_rect.height() ? (view_rect.height() - image.height()) / 2 : 0;
  return QPoint(x - bars.horizontal.position, y - bars.vertical.position);
}

int ViewScrollPosition(ScrollRequest request, const ScrollAxis& axis, int thumb) {
  const int position = axis.position;
  switch (request) {
    case ScrollRequest::LineUp:
      return std::max(0, position - kViewLine);
    case ScrollRequest::LineDown:
      return std::min(axis.maximum, position + kViewLine);
    case ScrollRequest::PageUp:
      return 0;
    case ScrollRequest::PageDown:
      return axis.maximum;
    case ScrollRequest::ThumbPosition:
    case ScrollRequest::ThumbTrack:
      if (position < 0 || position > axis.maximum) return position;
      return std::clamp(thumb, 0, axis.maximum);
    case ScrollRequest::Top:
    case ScrollRequest::Bottom:
    case ScrollRequest::EndScroll:
      return position;
  }
  return position;
}

}  // namespace pw::ui
