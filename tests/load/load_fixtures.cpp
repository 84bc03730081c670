#include "tests/load/load_fixtures.h"

#include <algorithm>

#include "app/page_set.h"
#include "platform/gdi/emf_writer.h"

namespace pw::test {

void RecordingView::InvalidateStrip(const app::ViewRect& area, bool erase) {
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

void RecordingView::InvalidateFrame(const app::ViewRect& area, bool erase) {
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

std::vector<std::byte> PaperEmf(int width_mm, int height_mm) {
  // A reference device of 10 pixels per millimetre, MM_TEXT.
  gdi::EmfWriter writer;
  writer.Frame({0, 0, width_mm * 100, height_mm * 100}).Device({width_mm * 10, height_mm * 10}, {width_mm, height_mm});
  writer.CreateBrush(1, 0, 0x00336699).SelectObject(1);
  writer.Rectangle({width_mm, height_mm, width_mm * 5, height_mm * 5});
  return writer.Finish();
}

void ResetPageSet() {
  app::PageSet& pages = app::Pages();
  pages.Clear();
  pages.SetState(app::RenderingState::Idle);
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
