#include "ui/frame_writer_view.h"

#include <QMetaObject>

#include <optional>

#include "render/image_to_bitmap.h"
#include "ui/frame_win.h"
#include "ui/page_view.h"

namespace pw::ui {

void FrameWriterView::detach() {
  std::lock_guard lock(mutex_);
  frame_ = nullptr;
}

// The lock keeps detach from completing between the check and the post;
// once posted, a call that finds its frame deleted is dropped by Qt.
template <typename F>
void FrameWriterView::post(F&& f) {
  std::lock_guard lock(mutex_);
  if (!frame_) return;
  QMetaObject::invokeMethod(frame_, [frame = frame_, f = std::forward<F>(f)] { f(*frame); }, Qt::QueuedConnection);
}

void FrameWriterView::RedrawCurrentPage() {
  post([](lvFrameWin& frame) { frame.pageView()->refresh(); });
}

void FrameWriterView::SetWaitCursor(bool on) {
  post([on](lvFrameWin& frame) {
    if (on) {
      frame.pageView()->setCursor(Qt::WaitCursor);
      return;
    }
    frame.pageView()->unsetCursor();
    frame.endRunProgress();
  });
}

void FrameWriterView::InvalidateMainWindow() {
  post([](lvFrameWin& frame) {
    frame.pageView()->refresh();
    frame.update();
  });
}

void FrameWriterView::PageWriting(int index, int count, const Magick::Image& image) {
  // The conversion is the run's work, done here on its thread.
  std::optional<gdi::Surface> surface = render::ImageToBitmap(image);
  QImage picture = surface ? surface->image() : QImage();
  post([index, count, picture = std::move(picture)](lvFrameWin& frame) {
    if (!picture.isNull()) frame.pageView()->showImage(picture);
    frame.showRunProgress(index, count);
  });
}

}  // namespace pw::ui
