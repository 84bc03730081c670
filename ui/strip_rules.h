#pragma once
// The thumbnail strip's arithmetic: its scroll maximum and what each
// scroll request does, which thumbnail lies under a point, and the caption
// under a thumbnail. Values only.
#include <QPoint>

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "ui/view_scroll.h"

namespace pw::ui {

// A thumbnail's place in strip coordinates before scrolling.
struct ThumbBox {
  int x = 0, y = 0, width = 0, height = 0;
};

inline constexpr int kStripLineUp = 100;
inline constexpr int kStripLineDown = 50;
inline constexpr int kStripPage = 300;
inline constexpr int kCaptionHeight = 22;

// trunc(last.y - client bottom + last.height * 1.5): the position at which
// the last thumbnail's lower half stands at the bottom.
int StripScrollMaximum(const ThumbBox& last, int client_bottom);

struct StripScroll {
  bool changed = false;
  int position = 0;      // pixels
  int bar_position = 0;  // on the bar's range
};

// What a request does at `position`, for the scroll maximum `maximum` and
// a bar range of bar_min .. bar_max (the load sets 0 .. page count x 10).
// Lines go up 100 and down 50, pages 300, never past 0 or the maximum; the
// thumb maps the bar's range onto 0 .. maximum. The bar follows the
// position on the same ratio. An empty bar range or a maximum of 0 or less
// has nothing to scroll: the thumb and the bar then stay at 0 instead of
// dividing by zero.
StripScroll ScrollStrip(ScrollRequest request, int position, int maximum, int bar_min, int bar_max,
                        int thumb = 0);

// The first thumbnail containing `point` (strip client coordinates) at the
// strip's scroll position; edges count as inside.
std::optional<int> ThumbnailAt(std::span<const ThumbBox> thumbs, QPoint point, int scroll);

// The caption: the four characters just before the name's last four
// ("50001.emf" and "0001.emf" both give "0001"). A shorter name gives what
// stands before its last four, never reading outside it.
std::string ThumbnailCaption(std::string_view file_name);

// The frame's layout step: true when the last thumbnail's lower edge has
// come within 10 pixels of the strip's top, so the strip pages up.
bool StripNeedsPageUp(const ThumbBox& last, int scroll, int strip_top);

}  // namespace pw::ui
