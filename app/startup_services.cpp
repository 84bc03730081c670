#include "app/startup_services.h"

#include "intake/capture_printer.h"

namespace pw::app {

StartupServices DefaultStartupServices() {
  StartupServices services;
  services.check_capture_printer = [] { return intake::CheckCapturePrinter(); };
  // The capture load and the page set are not part of this build yet:
  // their hooks stay empty and report false.
  return services;
}

}  // namespace pw::app
