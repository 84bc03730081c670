#include "terminal_view.h"

#include <cstdio>

#include "pages/page_set.h"

namespace pw::convert {

TerminalView::~TerminalView() {
  if (drawn_) std::fputs("\n", stderr);
}

void TerminalView::RenderStarted(int bands) { Draw(0, bands); }

void TerminalView::BandStarted(int band, int bands) { Draw(band + 1, bands); }

void TerminalView::PageNoted(const std::map<std::string, std::uint32_t>& notes) {
  std::lock_guard lock(mutex_);
  if (drawn_) std::fputs("\n", stderr);  // the notes go below the bar, which starts afresh
  drawn_ = false;
  const int page = pages::Pages().BeingRendered() + 1;
  for (const auto& [text, count] : notes) {
    // A page rendered twice (a gallery's page and its thumbnail) is told once.
    if (!told_.emplace(page, text).second) continue;
    if (count > 1) {
      std::fprintf(stderr, "pagewick-convert: page %d: %s (%u times)\n", page, text.c_str(), count);
    } else {
      std::fprintf(stderr, "pagewick-convert: page %d: %s\n", page, text.c_str());
    }
  }
}

void TerminalView::Draw(int band, int bands) {
  if (!bar_) return;
  std::lock_guard lock(mutex_);
  const int page = pages::Pages().BeingRendered() + 1;
  constexpr int kWidth = 30;
  const double done = pages_ > 0 ? ((page - 1) + (bands > 0 ? double(band) / bands : 0.0)) / pages_ : 1.0;
  const int filled = static_cast<int>(done * kWidth);
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.resize(kWidth, '.');
  std::fprintf(stderr, "\r[%s] page %d/%d  band %d/%d ", bar.c_str(), page, pages_, band, bands);
  std::fflush(stderr);
  drawn_ = true;
}

}  // namespace pw::convert
