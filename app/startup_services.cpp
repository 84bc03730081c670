#include "app/startup_services.h"

#include "app/capture_printer.h"

namespace pw::app {

StartupServices DefaultStartupServices() {
  StartupServices services;
  services.check_capture_printer = [] { return CheckCapturePrinter(); };
  // The capture load and the page set are not part of this build yet:
  // their hooks stay empty and report false.
  return services;
}

}  // namespace pw::app
