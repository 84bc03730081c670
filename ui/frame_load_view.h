#pragma once
// The main window as the capture load sees it. The load thread asks for
// client rectangles and the display's size, which are answered from copies
// the frame keeps up to date, and asks for repaints, which are posted to
// the user-interface thread: the worker never touches a widget.
#include <mutex>
#include <optional>

#include "intake/load_view.h"

namespace pw::ui {

class lvFrameWin;

class FrameLoadView final : public intake::LoadView {
 public:
  // Made on the user-interface thread, which measures the display here.
  explicit FrameLoadView(lvFrameWin* frame);

  // The frame's layout tells the current client rectangles.
  void setClients(const intake::ViewRect& strip, const intake::ViewRect& frame);

  std::optional<intake::DisplayExtent> Display() override;
  intake::ViewRect StripClient() override;
  intake::ViewRect FrameClient() override;
  void InvalidateStrip(const intake::ViewRect& area, bool erase) override;
  void InvalidateWholeStrip(bool erase) override;
  void InvalidatePageView(bool erase) override;
  void InvalidateFrame(const intake::ViewRect& area, bool erase) override;
  void SetStripScrollRange(int minimum, int maximum) override;

 private:
  // The frame owns this view and stops the load before it goes, so the
  // pointer outlives every call.
  lvFrameWin* frame_;
  std::optional<intake::DisplayExtent> display_;
  std::mutex mutex_;
  intake::ViewRect strip_;
  intake::ViewRect frame_client_;
};

}  // namespace pw::ui
