#include "progress_bar.h"

#include <cstdio>
#include <string>

#include "app/page_set.h"

namespace pw::convert {

ProgressBar::~ProgressBar() {
  if (drawn_) std::fputs("\n", stderr);
}

void ProgressBar::RenderStarted(int bands) { Draw(0, bands); }

void ProgressBar::BandStarted(int band, int bands) { Draw(band + 1, bands); }

void ProgressBar::Draw(int band, int bands) {
  std::lock_guard lock(mutex_);
  const int page = app::Pages().BeingRendered() + 1;
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
