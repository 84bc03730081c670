#include "ui/hand_cursor.h"

#include "res/resources.h"

namespace pw::ui {

const QCursor& HandCursor() {
  // Cursor 132: the program's own pointing hand, hot spot at the fingertip;
  // the desktop's own hand should the picture be missing.
  static const QCursor cursor = [] {
    const QPixmap picture = res::HandCursorImage();
    return picture.isNull() ? QCursor(Qt::PointingHandCursor) : QCursor(picture, 10, 1);
  }();
  return cursor;
}

void LoadHandCursor() { HandCursor(); }

}  // namespace pw::ui
