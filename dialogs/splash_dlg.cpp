#include "dialogs/splash_dlg.h"

#include "dialogs/dialog_units.h"
#include "res/resource_ids.h"
#include "res/resources.h"

#include <QTimerEvent>

namespace pw::dialogs {

lvSplashDlg::lvSplashDlg(std::function<void()> invalidate_page_view)
    : invalidate_page_view_(std::move(invalidate_page_view)) {}

bool lvSplashDlg::create(QWidget* parent) {
  setParent(parent, Qt::SplashScreen | Qt::FramelessWindowHint);
  setModal(false);
  setFont(TemplateFont());
  setFixedSize(DluSize(267, 185));

  // The artwork at its own size, not stretched to the control.
  bitmap_.setGeometry(DluRect(0, 0, 267, 185));
  bitmap_.setAlignment(Qt::AlignLeft | Qt::AlignTop);
  bitmap_.setPixmap(res::SplashBitmap());

  ok_button_.setGeometry(DluRect(180, 10, 50, 14));
  ok_button_.setDefault(true);
  ok_button_.setProperty("controlId", static_cast<int>(res::DialogCommand::Ok));
  ok_button_.hide();
  cancel_button_.setGeometry(DluRect(115, 10, 50, 14));
  cancel_button_.setProperty("controlId", static_cast<int>(res::DialogCommand::Cancel));
  cancel_button_.hide();

  // Precise: a coarse timer may fire up to 5 % early.
  qt_timer_id_ = startTimer(res::kSplashTimerPeriodMs, Qt::PreciseTimer);
  if (invalidate_page_view_) invalidate_page_view_();
  return true;
}

void lvSplashDlg::timerEvent(QTimerEvent* event) {
  // Qt numbers its timers itself; the splash timer is known by its own id.
  if (qt_timer_id_ != 0 && event->timerId() == qt_timer_id_) {
    onTimer(res::kSplashTimerId);
    return;
  }
  QDialog::timerEvent(event);
}

void lvSplashDlg::onTimer(int timer_id) {
  if (timer_id != res::kSplashTimerId) return;
  if (qt_timer_id_ != 0) killTimer(qt_timer_id_);
  qt_timer_id_ = 0;
  close();
}

}  // namespace pw::dialogs
