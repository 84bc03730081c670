#pragma once
// The progress bar on a terminal: the page being rendered and its bands.
#include <atomic>
#include <mutex>

#include "render/render_view.h"

namespace pw::convert {

class ProgressBar final : public render::RenderView {
 public:
  explicit ProgressBar(int pages) : pages_(pages) {}
  ~ProgressBar() override;
  void RenderStarted(int bands) override;
  void BandStarted(int band, int bands) override;
  void RenderEnded() override {}
  void InvalidateStatusArea() override {}

 private:
  void Draw(int band, int bands);
  std::mutex mutex_;
  int pages_;
  bool drawn_ = false;
};

}  // namespace pw::convert
