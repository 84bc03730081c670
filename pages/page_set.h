#pragma once
// The page set: every captured page held in memory, shared by the capture
// load thread that fills it, the user-interface thread that shows it and
// the writer threads that save it.
//
// Publication order: a record is written completely before the page count
// includes it (release store), and the current page index becomes valid
// only after its record is complete. Readers load the count (acquire) and
// then read records below it. Pages are rendered through RenderPageOfSet
// (page_render.h), which keeps page being rendered and the rendering state.
#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include <Magick++.h>
#include <QImage>

#include "platform/gdi/emf/metafile.h"
#include "platform/limits/limits.h"

namespace pw::pages {

inline constexpr int kMaxPages = static_cast<int>(limits::kCapturePages.value);

enum class RenderingState : int { Idle = 0, Busy = 1, Ready = 2 };

struct PageRecord {
  std::string file_name;    // within its folder, e.g. "50001.emf" or "0001.emf"
  gdi::Metafile metafile;   // null for a file that was not a metafile
  QImage thumbnail;         // 32-bit top-down DIB (Format_RGB32), at most 130 x 130
  int thumb_x = 0;          // strip client coordinates, before scrolling
  int thumb_y = 0;
  int thumb_width = 0;
  int thumb_height = 0;
};

class PageSet {
 public:
  PageSet();
  PageSet(const PageSet&) = delete;
  PageSet& operator=(const PageSet&) = delete;

  // Records at and above Count() are unused. Only the capture load writes
  // records below kMaxPages that are not yet counted.
  PageRecord& Record(int index) { return (*records_)[static_cast<std::size_t>(index)]; }
  const PageRecord& Record(int index) const { return (*records_)[static_cast<std::size_t>(index)]; }

  int Count() const { return count_.load(std::memory_order_acquire); }
  void SetCount(int count) { count_.store(count, std::memory_order_release); }

  // -1 when there is none; otherwise a counted page.
  int Current() const { return current_.load(std::memory_order_acquire); }
  // Refused (false) for an index that is neither -1 nor a counted page.
  bool SetCurrent(int index);

  int BeingRendered() const { return being_rendered_.load(std::memory_order_acquire); }
  void SetBeingRendered(int index) { being_rendered_.store(index, std::memory_order_release); }

  RenderingState State() const { return static_cast<RenderingState>(state_.load(std::memory_order_acquire)); }
  void SetState(RenderingState state) { state_.store(static_cast<int>(state), std::memory_order_release); }
  // Raises the state to Busy unless it is already Ready.
  void MarkBusy();

  int DisplayResolution() const { return display_dpi_.load(std::memory_order_acquire); }
  void SetDisplayResolution(int dpi) { display_dpi_.store(dpi, std::memory_order_release); }

  // The rendered current page. Copies share pixels (the image library
  // counts references), so a reader gets a stable picture cheaply.
  Magick::Image CurrentImage() const;
  // The image of page `page`; the one-argument form is for the page that
  // is current now.
  void SetCurrentImage(Magick::Image image, int page);
  void SetCurrentImage(Magick::Image image) { SetCurrentImage(std::move(image), Current()); }
  // The current image if it shows page `index`, else an empty image. The
  // current index moves before the new page's image arrives, so "index is
  // current" does not make the current image that page's.
  Magick::Image ImageOfPage(int index) const;

  // Folder texts end with '/'.
  std::string WorkFolder() const;
  std::string SampleFolder() const;
  void SetFolders(std::string work_folder, std::string sample_folder);

  // Releases every metafile and thumbnail: count 0, current -1. Must not run
  // while a capture load is still filling the set (see StopCaptureLoad).
  void Clear();

 private:
  std::unique_ptr<std::array<PageRecord, kMaxPages>> records_;
  std::atomic<int> count_{0};
  std::atomic<int> current_{-1};
  std::atomic<int> being_rendered_{0};
  std::atomic<int> state_{0};
  std::atomic<int> display_dpi_{96};
  mutable std::mutex mutex_;  // the image and the folder texts
  Magick::Image current_image_;
  int current_image_page_ = -1;
  std::string work_folder_;
  std::string sample_folder_;
};

// The process-wide page set.
PageSet& Pages();

}  // namespace pw::pages
