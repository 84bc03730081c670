#include "ui/frame_load_view.h"

#include "ui/frame_win.h"
#include "ui/page_view.h"
#include "ui/thumbnail_strip.h"

#include <QGuiApplication>
#include <QMetaObject>
#include <QScreen>

#include <cmath>

namespace pw::ui {
namespace {

QRect ToQRect(const intake::ViewRect& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)); }

std::optional<intake::DisplayExtent> MeasureDisplay() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return std::nullopt;
  const int millimetres = static_cast<int>(std::lround(screen->physicalSize().width()));
  if (millimetres <= 0) return std::nullopt;
  return intake::DisplayExtent{screen->geometry().width(), millimetres};
}

}  // namespace

FrameLoadView::FrameLoadView(lvFrameWin* frame) : frame_(frame), display_(MeasureDisplay()) {}

void FrameLoadView::setClients(const intake::ViewRect& strip, const intake::ViewRect& frame) {
  std::lock_guard lock(mutex_);
  strip_ = strip;
  frame_client_ = frame;
}

std::optional<intake::DisplayExtent> FrameLoadView::Display() { return display_; }

intake::ViewRect FrameLoadView::StripClient() {
  std::lock_guard lock(mutex_);
  return strip_;
}

intake::ViewRect FrameLoadView::FrameClient() {
  std::lock_guard lock(mutex_);
  return frame_client_;
}

// Every request runs later on the frame's thread, and not at all once the
// frame is gone (it is the context object). Erasing is what every repaint
// here does anyway.
void FrameLoadView::InvalidateStrip(const intake::ViewRect& area, bool) {
  QMetaObject::invokeMethod(
      frame_, [frame = frame_, area] { frame->strip()->update(ToQRect(area)); },
      Qt::QueuedConnection);
}

void FrameLoadView::InvalidateWholeStrip(bool) {
  QMetaObject::invokeMethod(
      frame_, [frame = frame_] { frame->strip()->update(); }, Qt::QueuedConnection);
}

void FrameLoadView::InvalidatePageView(bool) {
  QMetaObject::invokeMethod(
      frame_, [frame = frame_] { frame->pageView()->refresh(); }, Qt::QueuedConnection);
}

void FrameLoadView::InvalidateFrame(const intake::ViewRect& area, bool) {
  // The load asks for the status line's area from 50 pixels in, but its
  // text starts at 15: the whole line is repainted, or the first figures
  // would keep what was there before.
  QMetaObject::invokeMethod(
      frame_, [frame = frame_, area] { frame->update(ToQRect(area).united(frame->statusLineRect())); },
      Qt::QueuedConnection);
}

void FrameLoadView::SetStripScrollRange(int minimum, int maximum) {
  // The range grows with every page the load counts; the status line's
  // page count is repainted with it, or it would keep the count it had
  // when the first page was shown.
  QMetaObject::invokeMethod(
      frame_,
      [frame = frame_, minimum, maximum] {
        frame->strip()->setScrollRange(minimum, maximum);
        frame->update(frame->statusLineRect());
      },
      Qt::QueuedConnection);
}

}  // namespace pw::ui
