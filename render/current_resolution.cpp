#include "render/current_resolution.h"

namespace pw::render {

double CurrentResolution(const ResolutionChoice& choice) {
  switch (choice.CheckN) {
    case 0: return choice.display_dpi;
    case 1: return choice.printer_dpi;
    case 2: return choice.quick_start ? 80.0 : choice.ResCur;
    default: return 100.0;
  }
}

}  // namespace pw::render
