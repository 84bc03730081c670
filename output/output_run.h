#pragma once
// The run protocol the three writers share: the one `OutputRun` (abort
// requested, send after run, the `WrittenFileList`), the `SaveTarget` of a
// run, the output-format backup of the PDF command, the writer's view of
// the main window, and the worker thread a run runs on.
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <Magick++.h>

#include "pages/page_set.h"
#include "render/render_view.h"

namespace pw::output {

// Output paths longer than this are refused.
inline constexpr std::size_t kMaxOutputPath = 150;
inline constexpr const char* kNameTooLong = "The name you entered is too long.\nEnter a shorter name.";
// The caption of messages shown as the application's own.
inline constexpr const char* kApplicationCaption = "Tavrin Pagewick";

// One path per page; entry 0 also carries the single file of the
// single-page and PDF sends. Read by e-mail delivery on another thread.
class WrittenFileList {
 public:
  void Set(int index, std::string path);
  std::string Get(int index) const;
  // Entries 0 to count - 1; empty texts for entries never written.
  std::vector<std::string> First(int count) const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::array<std::string, pages::kMaxPages> paths_;
};

struct OutputRun {
  std::atomic<bool> abort_requested{false};
  std::atomic<bool> send_after_run{false};
  WrittenFileList written;
};

// The process-wide run state.
OutputRun& Run();

struct SaveTarget {
  std::string folder;     // ends with '/'
  std::string base_name;  // the file title, without extension
};

// The five output format flags.
struct FormatFlags {
  bool jpg = false;
  bool gif = false;
  bool png = false;
  bool bmp = false;
  bool tif = false;
  bool operator==(const FormatFlags&) const = default;
};

FormatFlags CurrentFormatFlags();
// Sets the five flags and stores them all; true when every write succeeded.
bool StoreFormatFlags(const FormatFlags& flags);

// The PDF command's copy of the flags, taken before it changes anything.
void SetOutputFormatBackup(std::optional<FormatFlags> flags);
std::optional<FormatFlags> TakeOutputFormatBackup();

// What a writer asks of the main window. The GUI implements it; without a
// window nothing is drawn. Calls come from the writer's thread.
class WriterView {
 public:
  virtual ~WriterView() = default;
  // Draws the current page image into the page view again.
  virtual void RedrawCurrentPage() = 0;
  // The wait cursor over the page view, on and off.
  virtual void SetWaitCursor(bool on) = 0;
  // The whole main window repaints.
  virtual void InvalidateMainWindow() = 0;
  // Page `index` (from 0) of `count` is written next, as `image` shows it:
  // the window shows it and the run's progress until the wait cursor goes.
  virtual void PageWriting(int index, int count, const Magick::Image& image) {
    (void)index;
    (void)count;
    (void)image;
  }
};

// Redraws the current page and shows the wait cursor in `view` (if any);
// takes it away again however the run ends.
class WaitCursorScope {
 public:
  explicit WaitCursorScope(std::shared_ptr<WriterView> view);
  ~WaitCursorScope();
  WaitCursorScope(const WaitCursorScope&) = delete;
  WaitCursorScope& operator=(const WaitCursorScope&) = delete;

 private:
  std::shared_ptr<WriterView> view_;
};

// The abort check between pages: when abort is requested, takes the
// request and asks "Abort File Generation Process?". True when the user
// confirms.
bool UserAbortsRun();

// Tells the user, in an error box over the main window, why the run stops;
// returns -1, the exit code of a run that stopped.
int TellRunFailure(const std::string& text);

struct WriteJob;
struct WriteOutcome;
using Writer = WriteOutcome (*)(const WriteJob& job);

// Starts `writer` with `job` on the writer thread when the current page
// index is a page of the set and no run is in progress; abort requested is
// cleared just before. False when nothing was started.
bool StartWriter(Writer writer, WriteJob job);
// Waits for the run in progress, if any, and returns its exit code.
std::optional<int> WaitForWriter();
bool WriterRunning();

}  // namespace pw::output
