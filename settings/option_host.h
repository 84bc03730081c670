#pragma once
// What the option commands need of the windows: the wait cursor, the
// refresh of the page view and the thumbnail strip, and the three option
// dialogs. The main window implements it; tests record the calls.
#include <optional>

#include "settings/image_format_values.h"

namespace pw::settings {

// The resolution dialog's results after OK.
struct ResolutionResult {
  int choice = 2;           // CheckN: 0 display, 1 printer, 2 user-defined
  double resolution = 80.0;  // dpi
  int scale = 100;          // percent
};

class OptionHost {
 public:
  virtual ~OptionHost() = default;

  // Shows the wait cursor over the page view while `on`.
  virtual void SetWaitCursor(bool on) = 0;

  // When the current page index is a page of the set, renders that page at
  // the current resolution into the current page image; otherwise sets the
  // index to -1. Then repaints the whole page view, erasing it. True when a
  // page was rendered.
  virtual bool RefreshCurrentPage() = 0;

  // Scrolls the page view to its top and its left edge.
  virtual void ScrollPageViewToOrigin() = 0;

  // Re-renders every page's thumbnail and repaints the whole strip.
  virtual void RerenderThumbnails() = 0;

  // Runs the resolution and dimension dialog; nothing on Cancel.
  virtual std::optional<ResolutionResult> RunResolutionDialog() = 0;

  // Runs the full image format sheet over the working values, starting on
  // the page of their output format; false on Cancel. On OK the working
  // output format is the one of the page that was showing.
  virtual bool RunImageFormatSheet(ImageFormatValues& values) = 0;

  // Runs the hatch settings dialog, which stores its values itself on OK;
  // false on Cancel.
  virtual bool RunHatchDialog() = 0;
};

}  // namespace pw::settings
