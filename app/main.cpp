// Pagewick: turns printed Word pages into page images.
#include "app/application.h"
#include "platform/msgbox/gui_message_box.h"
#include "ui/frame_win.h"

#include <QApplication>

#include <memory>

int main(int argc, char** argv) {
  QApplication qt_application(argc, argv);  // takes Qt's own switches off argv

  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);

  pw::app::Application application(pw::app::DefaultStartupOptions(arguments));
  pw::platform::SetMessageBoxHost(std::make_shared<pw::platform::GuiMessageBoxHost>(
      [&application]() -> QWidget* { return application.mainWindow(); }));

  application.Initialise();
  const int code = application.frameOpen() ? qt_application.exec() : 0;

  // Messages from here on have no window to belong to.
  pw::platform::SetMessageBoxHost(nullptr);
  return code;
}
