#include "ui/centre_window.h"

#include <QGuiApplication>
#include <QScreen>

namespace pw::ui {

void CentreOnScreen(QWidget& window) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const QRect outer = window.frameGeometry();
  window.move(area.x() + (area.width() - outer.width()) / 2,
              area.y() + (area.height() - outer.height()) / 2);
}

}  // namespace pw::ui
