#include "ui/hand_cursor.h"

namespace pw::ui {

const QCursor& HandCursor() {
  // The desktop's own pointing hand stands in for the cursor resource.
  static const QCursor cursor(Qt::PointingHandCursor);
  return cursor;
}

void LoadHandCursor() { HandCursor(); }

}  // namespace pw::ui
