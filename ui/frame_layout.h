#pragma once
// Where the frame puts its children for a client size: the page view, the
// thumbnail strip, the command buttons and the window regions that keep
// the buttons visible where they overlap the panes. Values only; the frame
// applies them.
#include <QRect>
#include <QRegion>
#include <QSize>

#include <optional>

namespace pw::ui {

inline constexpr int kMinimumFrameHeight = 402;  // outer height of the frame window
inline constexpr int kNarrowFrameWidth = 182;    // outer width of the thumbnails-only frame
inline constexpr int kStatusTextMinWidth = 631;  // narrower clients show the bar without text
inline constexpr int kButtonCount = 7;
inline constexpr QSize kButtonSize{43, 32};
inline constexpr int kFlatBarWidth = 12;
inline constexpr int kThumbnailColumn = 170;  // right-hand part of the client the wheel gives the strip

struct FrameLayout {
  // The client height the layout used: the given one, or the one the frame
  // gets after it was raised to its minimum height.
  int client_height = 0;
  // Set when the frame window must be given a new outer size first.
  std::optional<QSize> resize_frame;
  bool narrow = false;
  bool page_view_shown = true;
  QRect page_view;                  // widget geometry; meaningful only when shown
  QRect strip;                      // widget geometry
  QRegion page_view_mask;           // empty: none
  QRegion strip_mask;               // empty: none
};

// `outer_extra` is what the window manager's frame adds to the client size
// (outer size minus client size): the minimum height and the narrow width
// are outer sizes, so the client they leave depends on the real frame.
// `strip_bar_width` is the width of the strip's vertical bar.
FrameLayout LayoutFrame(QSize client, QSize outer_extra, int strip_bar_width = kFlatBarWidth);

// The page view's rectangle in frame client coordinates (edges, Windows
// style: right and bottom are outside).
struct EdgeRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const EdgeRect&, const EdgeRect&) = default;
};
EdgeRect PageViewRect(QSize client);
EdgeRect StripRect(QSize client);

// Command button i (0 to 6) in frame client coordinates.
QRect ButtonGeometry(int index);

// The page view's region before its first layout.
QRegion InitialPageViewMask();

// Whether the frame's status line carries its text at this client width.
inline bool ShowsStatusText(int client_width) { return client_width >= kStatusTextMinWidth; }

}  // namespace pw::ui
