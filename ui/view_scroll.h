#pragma once
// The page view's scrolling arithmetic: which flat bars show for an image,
// their ranges, where the image is drawn, and what each scroll request
// does to a position. Values only.
#include <QPoint>
#include <QSize>

namespace pw::ui {

// What a scroll bar asks for (the desktop's SB_ codes).
enum class ScrollRequest { LineUp, LineDown, PageUp, PageDown, ThumbPosition, ThumbTrack, Top, Bottom, EndScroll };

struct ScrollAxis {
  bool shown = false;
  int maximum = 0;   // range 0 .. maximum
  int position = 0;  // always within 0 .. maximum
  friend bool operator==(const ScrollAxis&, const ScrollAxis&) = default;
};

struct ViewBars {
  ScrollAxis horizontal;
  ScrollAxis vertical;
  friend bool operator==(const ViewBars&, const ViewBars&) = default;
};

// The bars for an image of `image` pixels in a view of `view` pixels (bars
// not counted). A bar shows when the image overhangs the client area left
// beside the other bar, with a maximum 10 pixels beyond the overhang; a
// hidden bar scrolls to 0. The two bars settle together: showing one
// narrows the other's client area, which may make that bar needed too.
// Positions of `current` are kept where the new ranges allow, else clamped.
ViewBars FitBars(QSize image, QSize view, const ViewBars& current, int bar_width);

// The client area the bars leave.
QSize ClientArea(QSize view, const ViewBars& bars, int bar_width);

// Where the image's top-left corner is drawn in the view: centred in the
// page view rectangle where it fits, at the edge otherwise, less the
// scroll positions.
QPoint ImageOrigin(QSize image, QSize view_rect, const ViewBars& bars);

// The position a request leads to on one axis of the page view: lines of
// 100 pixels, pages to either end, the thumb where the bar puts it (only
// from a position within range); Top and Bottom change nothing.
int ViewScrollPosition(ScrollRequest request, const ScrollAxis& axis, int thumb = 0);

inline constexpr int kViewLine = 100;
inline constexpr int kViewBarSlack = 10;

}  // namespace pw::ui
