#include "about/about_guard.h"

#include "about/about_dlg.h"

#include <QMessageBox>

namespace pw::about {

int RunAboutGuarded(const std::function<void()>& show_box, const std::function<void()>& report_error) {
  try {
    show_box();
    return 0;
  } catch (...) {
    // Whatever was thrown, it must not cross into the caller.
    try {
      report_error();
    } catch (...) {
    }
    return -1;
  }
}

void ShowAboutBox() {
  AboutDlg box;
  box.exec();
}

void ShowUnexpectedError() {
  QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kAboutMessageCaption),
                  QString::fromUtf8(kUnexpectedErrorText), QMessageBox::Ok);
  box.exec();
}

}  // namespace pw::about
