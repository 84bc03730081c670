#include "tests/load/load_fixtures.h"

#include <algorithm>

#include "pages/page_set.h"
#include "platform/gdi/emf/emf_writer.h"

namespace pw::test {

void RecordingView::InvalidateStrip(const intake::ViewRect& area, bool erase) {
  std::lock_guard lock(mutex_);
  invalidations_.push_back({Invalidation::Target::Strip, area, erase});
}

void RecordingView::InvalidateWholeStrip(bool erase) {
  std::lock_guard lock(mutex_);
  invalidations_.push_back({Invalidation::Target::WholeStrip, {}, erase});
}

void RecordingView::InvalidatePageView(bool erase) {
  std::lock_guard lock(mutex_);
  invalidations_.push_back({Invalidation::Target::PageView, {}, erase});
}

void RecordingView::InvalidateFrame(const intake::ViewRect& area, bool erase) {
  std::lock_guard lock(mutex_);
  invalidations_.push_back({Invalidation::Target::Frame, area, erase});
}

void RecordingView::SetStripScrollRange(int minimum, int maximum) {
  std::lock_guard lock(mutex_);
  ranges_.emplace_back(minimum, maximum);
}

std::vector<RecordingView::Invalidation> RecordingView::Invalidations() const {
  std::lock_guard lock(mutex_);
  return invalidations_;
}

std::vector<std::pair<int, int>> RecordingView::ScrollRanges() const {
  std::lock_guard lock(mutex_);
  return ranges_;
}

void ResetPageSet() {
  pages::PageSet& pages = pages::Pages();
  pages.Clear();
  pages.SetState(pages::RenderingState::Idle);
  pages.SetBeingRendered(0);
  pages.SetCurrentImage(Magick::Image());
}

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    if (it->is_regular_file()) names.push_back(it->path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> PageFilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names = FilesIn(folder);
  std::erase_if(names, [](const std::string& name) { return !name.ends_with(".emf"); });
  return names;
}

}  // namespace pw::test
