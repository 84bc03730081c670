#pragma once
// The main window as a writer run sees it. Every call comes from the
// writer's thread and is posted to the user-interface thread: the page
// being written is shown in the page view and its place in the run in the
// status line, the wait cursor stands over the page view while the run
// lasts, and the current page comes back when it ends.
#include <mutex>

#include "output/output_run.h"

namespace pw::ui {

class lvFrameWin;

class FrameWriterView final : public output::WriterView {
 public:
  explicit FrameWriterView(lvFrameWin* frame) : frame_(frame) {}

  // The frame is going: later calls post nothing. Called on the
  // user-interface thread before the frame is deleted, so that no call is
  // posted to a frame that no longer exists.
  void detach();

  void RedrawCurrentPage() override;
  void SetWaitCursor(bool on) override;
  void InvalidateMainWindow() override;
  void PageWriting(int index, int count, const Magick::Image& image) override;

 private:
  template <typename F>
  void post(F&& f);

  std::mutex mutex_;
  lvFrameWin* frame_;
};

}  // namespace pw::ui
