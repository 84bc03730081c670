#include "app/startup_services.h"

#include "app/application.h"
#include "intake/capture_load.h"
#include "intake/capture_printer.h"
#include "ui/frame_win.h"

namespace pw::app {

StartupServices DefaultStartupServices() {
  StartupServices services;
  services.check_capture_printer = [] { return intake::CheckCapturePrinter(); };
  services.start_capture_load = [](Application& application) {
    ui::lvFrameWin* frame = application.mainWindow();
    return frame && intake::StartCaptureLoad(&frame->loadView());
  };
  services.release_pages = [] { intake::ReleasePages(); };
  services.load_running = [] { return intake::CaptureLoadRunning(); };
  services.stop_load = [] { intake::RequestStopCaptureLoad(); };
  return services;
}

}  // namespace pw::app
