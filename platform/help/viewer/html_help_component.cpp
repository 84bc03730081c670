// The help component: the one entry the help engine looks up, showing the
// requested help file and topic in the process's help window. The window
// lives until the application ends and is reused by every request.
#include "platform/help/help_request.h"
#include "platform/help/viewer/help_window.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include <cstdint>
#include <memory>

namespace {

std::unique_ptr<pw::platform::HelpWindow> g_window;

// The application's end takes the window along, before Qt is gone.
void DropWindow() { g_window.reset(); }

pw::platform::HelpWindow& Window() {
  if (!g_window) {
    g_window = std::make_unique<pw::platform::HelpWindow>();
    qAddPostRoutine(DropWindow);
  }
  return *g_window;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) std::uintptr_t HtmlHelpA(std::uintptr_t /*owner*/, const char* file,
                                                                          unsigned command, std::uintptr_t /*data*/) {
  constexpr unsigned kDisplayTopic = 0;
  // Windows belong to the application's own thread.
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (command != kDisplayTopic || !file || !app || QThread::currentThread() != app->thread()) return 0;

  const pw::platform::HelpRequest request = pw::platform::SplitHelpRequest(file);
  pw::platform::HelpWindow& window = Window();
  if (!window.openFile(request.file)) {
    // Told without waiting for an answer: the request returns at once, as
    // every help request does.
    auto box = std::make_unique<QMessageBox>(
        QMessageBox::Warning, QStringLiteral("Help"),
        QStringLiteral("Cannot open the help file '%1'.").arg(QString::fromStdString(request.file)), QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
    box.release();  // deleted by Qt when closed
    return 0;
  }
  window.showTopic(request.topic);
  window.show();
  window.raise();
  window.activateWindow();
  return static_cast<std::uintptr_t>(window.winId());
}
