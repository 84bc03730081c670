// Pagewick: turns printed Word pages into page images.
#include "app/application.h"
#include "intake/capture_load.h"
#include "platform/msgbox/gui_message_box.h"
#include "platform/paths/paths.h"
#include "ui/frame_win.h"

#include <QApplication>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// Before Qt starts: asking for help needs no display.
bool AsksForHelp(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return true;
  return false;
}

// Qt ends the program with exit() from inside the event loop when the X
// connection breaks. The static destructors that exit() runs would join a
// capture load still waiting for an answer to a message box, which no one
// can give any more, and the process would stay forever. An end that does
// not come through main's return skips them.
std::atomic<bool> main_returned{false};

void EndAtOnceUnlessMainReturned() {
  if (!main_returned.load()) std::_Exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  if (AsksForHelp(argc, argv)) {
    std::printf(
        "Usage: pagewick [quick | FILE...] [Qt options]\n\n"
        "Opens the main window on the last capture: the pages printed to the\n"
        "capture printer, or a page copied to the clipboard (the desktop's\n"
        "clipboard, where a Windows program under Wine or another program put an\n"
        "EMF, else the one pagewick-capture fills).\n"
        "With FILE..., it shows the pages of those EMF pages and EMF spool files\n"
        "instead, named after the first that gives a page; files dropped on the\n"
        "window open the same way.\n"
        "With quick, it starts in Quick Start Reference mode and shows the bundled\n"
        "sample pages instead. Settings and the capture printer's spool files live\n"
        "under $PAGEWICK_HOME (default ~/.local/share/pagewick).\n"
        "A display is needed; pagewick-convert does the same work without one.\n"
        "Exit codes: 0 the window was closed, or another running instance was shown\n"
        "instead; without a display Qt ends the program with its own code.\n");
    return 0;
  }
  pw::platform::ProvideRuntimeFolder();  // a start without a desktop session has none
  QApplication qt_application(argc, argv);  // takes Qt's own switches off argv

  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);

  pw::app::Application application(pw::app::DefaultStartupOptions(arguments));
  pw::platform::SetMessageBoxHost(std::make_shared<pw::platform::GuiMessageBoxHost>(
      [&application]() -> QWidget* { return application.mainWindow(); }));

  // Registered after the load's own state exists, so that it runs before
  // that state's destructor (exit() goes in the reverse order).
  pw::intake::CaptureLoadRunning();
  std::atexit(EndAtOnceUnlessMainReturned);
  application.Initialise();
  const int code = application.frameOpen() ? qt_application.exec() : 0;

  // Messages from here on have no window to belong to.
  pw::platform::SetMessageBoxHost(nullptr);
  main_returned.store(true);
  return code;
}
