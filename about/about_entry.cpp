// The About library's one export. Its images and cursor are compiled into
// this library and registered when it is loaded, so the box finds them
// here and not in the program that loaded it.
#include "about/about_guard.h"

#include <QApplication>
#include <QThread>

extern "C" __attribute__((visibility("default"))) int AboutTavrinSystem() {
  // A box needs the application's own thread; anything else is an
  // unexpected call, answered without a window.
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (!app || QThread::currentThread() != app->thread()) return -1;
  return pw::about::RunAboutGuarded(pw::about::ShowAboutBox, pw::about::ShowUnexpectedError);
}
