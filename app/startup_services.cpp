#include "app/startup_services.h"

#include "app/application.h"
#include "app/startup_command_line.h"
#include "intake/capture_load.h"
#include "intake/capture_printer.h"
#include "intake/handshake.h"
#include "platform/clipboard/desktop_clipboard.h"
#include "settings/settings_record.h"
#include "ui/frame_win.h"

namespace pw::app {

intake::CaptureInput GatherCaptureInput(std::vector<std::string> files) {
  intake::CaptureInput input;
  input.files = std::move(files);
  if (!input.files.empty()) return input;
  // The desktop's clipboard belongs to this thread; the load reads the
  // flag again (and resets it) on its own.
  if (!settings::Snapshot().QuickStartReference && intake::PeekClipboardCapture())
    input.desktop_clipboard = clipboard::ReadDesktopEnhMetafile();
  return input;
}

StartupServices DefaultStartupServices() {
  StartupServices services;
  services.check_capture_printer = [] { return intake::CheckCapturePrinter(); };
  services.start_capture_load = [](Application& application) {
    ui::lvFrameWin* frame = application.mainWindow();
    return frame && intake::StartCaptureLoad(&frame->loadView(), nullptr,
                                               GatherCaptureInput(FileArguments(application.arguments())));
  };
  services.release_pages = [] { intake::ReleasePages(); };
  services.load_running = [] { return intake::CaptureLoadRunning(); };
  services.stop_load = [] { intake::RequestStopCaptureLoad(); };
  return services;
}

}  // namespace pw::app
