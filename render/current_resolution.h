#pragma once
// The view resolution almost every render uses.

namespace pw::render {

struct ResolutionChoice {
  int CheckN = 2;             // 0 display, 1 printer, 2 custom, else 100 dpi
  double ResCur = 80.0;       // custom resolution, dpi
  int display_dpi = 96;
  int printer_dpi = 300;
  bool quick_start = false;   // Quick Start Reference mode: custom means 80
};

double CurrentResolution(const ResolutionChoice& choice);

}  // namespace pw::render
