#pragma once
// What a render tells the window it runs for. The GUI implements it over the
// main frame's progress bar and status area; renders without a window pass
// nothing. Calls may come from any thread, band workers included:
// implementations marshal to the user-interface thread.
#include <cstdint>
#include <map>
#include <string>

namespace pw::render {

class RenderView {
 public:
  virtual ~RenderView() = default;
  // Before the first band: the progress range is 0 ... bands.
  virtual void RenderStarted(int bands) = 0;
  // A band begins (bands begin in order, one or more at a time).
  virtual void BandStarted(int band, int bands) = 0;
  // The render has ended, whatever its outcome; the progress bar goes.
  virtual void RenderEnded() = 0;
  // The status line's image size may have changed: repaint it.
  virtual void InvalidateStatusArea() = 0;
  // What the player noted about the page just rendered (a bitmap left out
  // at a limit, a font replaced), counted by text; only when there is any.
  virtual void PageNoted(const std::map<std::string, std::uint32_t>& notes) { (void)notes; }
};

}  // namespace pw::render
