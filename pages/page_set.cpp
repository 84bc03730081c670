#include "pages/page_set.h"

#include <utility>

namespace pw::pages {

PageSet::PageSet() : records_(std::make_unique<std::array<PageRecord, kMaxPages>>()) {}

bool PageSet::SetCurrent(int index) {
  if (index < -1 || index >= Count()) return false;
  current_.store(index, std::memory_order_release);
  return true;
}

void PageSet::MarkBusy() {
  int expected = static_cast<int>(RenderingState::Idle);
  state_.compare_exchange_strong(expected, static_cast<int>(RenderingState::Busy), std::memory_order_acq_rel);
}

Magick::Image PageSet::CurrentImage() const {
  std::lock_guard lock(mutex_);
  return current_image_;
}

void PageSet::SetCurrentImage(Magick::Image image, int page) {
  std::lock_guard lock(mutex_);
  current_image_ = std::move(image);
  current_image_page_ = page;
}

Magick::Image PageSet::ImageOfPage(int index) const {
  std::lock_guard lock(mutex_);
  return index >= 0 && index == current_image_page_ ? current_image_ : Magick::Image();
}

std::string PageSet::WorkFolder() const {
  std::lock_guard lock(mutex_);
  return work_folder_;
}

std::string PageSet::SampleFolder() const {
  std::lock_guard lock(mutex_);
  return sample_folder_;
}

void PageSet::SetFolders(std::string work_folder, std::string sample_folder) {
  std::lock_guard lock(mutex_);
  work_folder_ = std::move(work_folder);
  sample_folder_ = std::move(sample_folder);
}

void PageSet::Clear() {
  const int count = Count();
  current_.store(-1, std::memory_order_release);
  count_.store(0, std::memory_order_release);
  {
    std::lock_guard lock(mutex_);
    current_image_page_ = -1;  // whatever it shows is no page of the next set
  }
  for (int i = 0; i < count; ++i) Record(i) = PageRecord{};
}

PageSet& Pages() {
  static PageSet pages;
  return pages;
}

}  // namespace pw::pages
