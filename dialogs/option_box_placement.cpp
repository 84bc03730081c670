#include "dialogs/option_box_placement.h"

namespace pw::dialogs {

OptionBoxRects PlaceOptionBoxes(const QRect& type_list, int dialog_bottom, bool with_start_file) {
  const int left = type_list.left();
  const int list_bottom = type_list.y() + type_list.height();
  OptionBoxRects rects;
  if (!with_start_file) {
    rects.image_options = QRect(left, list_bottom, kOptionBoxWidth, dialog_bottom - list_bottom);
    return rects;
  }
  const int middle = (list_bottom + dialog_bottom) / 2;
  rects.image_options = QRect(left, list_bottom + 2, kOptionBoxWidth, middle - list_bottom - 2);
  rects.start_file = QRect(left, middle - 2, kOptionBoxWidth, dialog_bottom - middle);
  return rects;
}

bool CountSizeChange(int& counter) { return counter++ > 0; }

}  // namespace pw::dialogs
