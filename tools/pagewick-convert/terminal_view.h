#pragma once
// What the converter shows on its terminal while it renders: a progress bar
// of the page being rendered and its bands (only on a terminal), and what
// the player noted about a page, such as a bitmap left out at a limit.
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <utility>

#include "render/render_view.h"

namespace pw::convert {

class TerminalView final : public render::RenderView {
 public:
  TerminalView(int pages, bool progress_bar) : pages_(pages), bar_(progress_bar) {}
  ~TerminalView() override;
  void RenderStarted(int bands) override;
  void BandStarted(int band, int bands) override;
  void RenderEnded() override {}
  void InvalidateStatusArea() override {}
  void PageNoted(const std::map<std::string, std::uint32_t>& notes) override;

 private:
  void Draw(int band, int bands);
  std::mutex mutex_;
  int pages_;
  bool bar_;
  bool drawn_ = false;
  std::set<std::pair<int, std::string>> told_;  // page and note, once each
};

}  // namespace pw::convert
