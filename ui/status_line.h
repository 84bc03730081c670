#pragma once
// The text of the frame's status line: which page, the preview file's size,
// the page image's size in pixels and millimetres, the resolution and the
// series format.
#include <string>
#include <string_view>

namespace pw::settings {
struct Settings;
}

namespace pw::ui {

struct StatusFacts {
  int being_rendered = 0;  // index of the page most recently rendered
  int page_count = 0;
  int image_kb = 0;        // the preview file's size
  int columns = 0;         // of the current page image
  int rows = 0;
  double resolution = 0;   // dpi of the current resolution
  std::string_view format_name;
};

// "JPEG", "GIF", "PNG" or "TIF" for the first of those series formats that
// is on, otherwise "BMP".
std::string_view SeriesFormatName(const settings::Settings& settings);

// "%d(%d): %d KB, %dx%d pixels, %dx%d mm, %d dpi, %s". Shown page numbers
// count from 1; a count below the shown page shows the page number in both
// places. Millimetres are rounded up; a resolution of zero or less (never
// a real one) gives 0 mm rather than a division by zero.
std::string StatusText(const StatusFacts& facts);

// "Writing page 2 of 3" for page `index` (from 0) of a run of `count`.
std::string RunProgressText(int index, int count);

// What the status line says: the status text, led by the run's progress
// while a run writes. The status text shows only on a wide line.
std::string StatusLineText(const std::string& status, const std::string& progress, bool wide);

}  // namespace pw::ui
