#include "dialogs/up_down.h"

#include <QKeyEvent>

namespace pw::dialogs {

UpDown::UpDown(QLineEdit& buddy, QWidget* parent) : QWidget(parent) {
  for (QToolButton* button : {&up_, &down_}) {
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
  }
  up_.setArrowType(Qt::UpArrow);
  down_.setArrowType(Qt::DownArrow);
  connect(&up_, &QToolButton::clicked, this, [this] { step(1); });
  connect(&down_, &QToolButton::clicked, this, [this] { step(-1); });
  buddy.installEventFilter(this);
}

void UpDown::step(int delta) {
  if (isEnabled() && on_step_) on_step_(delta);
}

void UpDown::resizeEvent(QResizeEvent* /*event*/) {
  const int half = height() / 2;
  up_.setGeometry(0, 0, width(), half);
  down_.setGeometry(0, half, width(), height() - half);
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      step(key == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace pw::dialogs
