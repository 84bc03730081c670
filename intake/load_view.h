#pragma once
// What the capture load needs of the windows: their client rectangles, the
// display's physical size, and requests to repaint or rescale. The main
// window implements it; tests record the calls. Every function may be
// called from the capture load thread, so an implementation answers from
// values it keeps for that purpose and posts the requests to its own thread.
#include <optional>

namespace pw::intake {

struct ViewRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const ViewRect&, const ViewRect&) = default;
};

// The display's horizontal extent, in pixels and in millimetres.
struct DisplayExtent {
  int pixels = 0;
  int millimeters = 0;
};

class LoadView {
 public:
  virtual ~LoadView() = default;

  // Nothing when the platform does not know the physical size.
  virtual std::optional<DisplayExtent> Display() = 0;

  // Client rectangles of the thumbnail strip and of the main frame.
  virtual ViewRect StripClient() = 0;
  virtual ViewRect FrameClient() = 0;

  // Repaint requests; `erase` asks for the background to be drawn first.
  virtual void InvalidateStrip(const ViewRect& area, bool erase) = 0;
  virtual void InvalidateWholeStrip(bool erase) = 0;
  virtual void InvalidatePageView(bool erase) = 0;
  virtual void InvalidateFrame(const ViewRect& area, bool erase) = 0;

  // The strip's vertical scroll range, set without redrawing the bar.
  virtual void SetStripScrollRange(int minimum, int maximum) = 0;
};

}  // namespace pw::intake
