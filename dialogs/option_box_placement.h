#pragma once
// Where the save dialogs put their own check boxes: in the strip between
// the bottom of the file-type list and the bottom of the dialog, starting
// at the list's left edge, 200 pixels wide. One box takes the whole strip;
// two share it at its middle.
#include <QRect>

namespace pw::dialogs {

inline constexpr int kOptionBoxWidth = 200;

struct OptionBoxRects {
  QRect image_options;  // "Invoke Image Options"
  QRect start_file;     // "Start file after creation"; only with two boxes
};

// type_list is the file-type list's rectangle and dialog_bottom the
// dialog's bottom edge (one past its last row), both in the dialog's
// coordinates.
OptionBoxRects PlaceOptionBoxes(const QRect& type_list, int dialog_bottom, bool with_start_file);

// Each dialog class counts the size changes its dialogs receive over the
// program's life and places its boxes on every one but the very first.
// Counts this one and says whether to place.
bool CountSizeChange(int& counter);

}  // namespace pw::dialogs
