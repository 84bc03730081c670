#pragma once
// Where the mouse wheel scrolls, by the point it turned at.
#include <QPoint>
#include <QSize>

namespace pw::ui {

enum class WheelTarget { None, Strip, ViewVertical, ViewHorizontal };

// `point` in frame client coordinates. The right-hand 170 pixels, the whole
// height (status line included), scroll the strip; elsewhere the page view
// scrolls down or up where its vertical bar shows, and in the 47 pixels
// above the bottom edge right or left where its horizontal bar shows.
WheelTarget WheelTargetAt(QPoint point, QSize client, bool vertical_shown, bool horizontal_shown);

}  // namespace pw::ui
