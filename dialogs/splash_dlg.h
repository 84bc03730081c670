#pragma once
// lvSplashDlg: the splash window (template 105), a modeless popup without
// caption or border that shows the artwork and closes itself two seconds
// after it was created.
#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include <functional>

namespace pw::dialogs {

class lvSplashDlg final : public QDialog {
 public:
  // invalidate_page_view: repaints the main frame's page view, which the
  // splash does once it exists (the page view may have been drawn on
  // while start-up ran).
  explicit lvSplashDlg(std::function<void()> invalidate_page_view = {});

  // Makes the window from template 105 with the given parent (none at
  // start-up); the class name, title, style, rectangle and control id
  // that start-up passes along are not used. Starts the closing timer.
  bool create(QWidget* parent = nullptr);

  // The timer with the given program timer id has fired.
  void onTimer(int timer_id);

  bool timerRunning() const { return qt_timer_id_ != 0; }
  const QLabel& bitmapLabel() const { return bitmap_; }

 protected:
  void timerEvent(QTimerEvent* event) override;

 private:
  std::function<void()> invalidate_page_view_;
  int qt_timer_id_ = 0;  // Qt's number for the splash timer while it runs
  QLabel bitmap_{this};
  QPushButton ok_button_{QStringLiteral("OK"), this};
  QPushButton cancel_button_{QStringLiteral("Cancel"), this};
};

}  // namespace pw::dialogs
