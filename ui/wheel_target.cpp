#include "ui/wheel_target.h"

#include "ui/frame_layout.h"

namespace pw::ui {

WheelTarget WheelTargetAt(QPoint point, QSize client, bool vertical_shown, bool horizontal_shown) {
  // Client edges the desktop's way: right and bottom are the width and height.
  const int right = client.width();
  const int bottom = client.height();
  const int x = point.x();
  const int y = point.y();
  if (y < 0 || y > bottom || x < 0 || x > right) return WheelTarget::None;
  if (x >= right - kThumbnailColumn) return WheelTarget::Strip;
  if (vertical_shown && y <= bottom - 47) return WheelTarget::ViewVertical;
  if (horizontal_shown && y > bottom - 47) return WheelTarget::ViewHorizontal;
  return WheelTarget::None;
}

}  // namespace pw::ui
