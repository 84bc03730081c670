#include "ui/frame_win.h"

#include "platform/paths/paths.h"
#include "res/resources.h"
#include "ui/frame_destroy.h"

#include <QCloseEvent>

namespace pw::ui {

namespace {

// The stand-in for the desktop's stock variable-pitch font: a small sans
// serif with the proportions of the one the layout was drawn for.
QFont VariablePitchFont() {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  return font;
}

}  // namespace

lvFrameWin::lvFrameWin() : font_(VariablePitchFont()) {}

lvFrameWin::~lvFrameWin() {
  // A frame that goes without a close (the process ends otherwise) still
  // leaves its placement and an empty work folder behind.
  runDestroySteps();
}

void lvFrameWin::createWindow(int x, int y, int width, int height) {
  setWindowTitle(QString::fromLatin1(kFrameTitle));
  setWindowIcon(pw::res::MainIcon());
  setCursor(Qt::ArrowCursor);
  // The class background: the menu colour of the desktop's palette.
  setBackgroundRole(QPalette::Window);
  setAutoFillBackground(true);
  move(x, y);
  // The native window follows when it is first shown; made earlier, the
  // platform would take (x, y) for the inside of the frame instead.
  resize(width, height);
}

void lvFrameWin::showAsStarted(bool maximized) {
  if (maximized) {
    showMaximized();
  } else {
    show();
  }
  repaint();
}

QRect lvFrameWin::pageViewRect() const {
  return QRect(QPoint(7, 7), QPoint(width() - 173, height() - 32));
}

void lvFrameWin::invalidatePageView() { update(pageViewRect()); }

void lvFrameWin::closeEvent(QCloseEvent* event) {
  runDestroySteps();
  event->accept();
}

void lvFrameWin::runDestroySteps() {
  if (destroyed_) return;
  destroyed_ = true;

  if (release_pages_) release_pages_();

  ClosingPlacement placement;
  placement.maximized = isMaximized();
  // Position of the outer frame and size of the window: the same pair
  // createWindow takes, so a stored placement opens the window unchanged.
  const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
  const QPoint frame_offset = frameGeometry().topLeft() - geometry().topLeft();
  placement.left = normal.x() + frame_offset.x();
  placement.top = normal.y() + frame_offset.y();
  placement.right = placement.left + normal.width();
  placement.bottom = placement.top + normal.height();
  StoreWindowPlacement(placement);

  if (std::optional<std::string> work = pw::platform::WorkFolder()) EmptyWorkFolder(*work);

  if (on_destroyed_) on_destroyed_();
}

}  // namespace pw::ui
