#pragma once
// Helpers of the writer tests: a page set of small pages, a view that
// records what a run asks of the window, and a scripted message box.
#include "tests/support/emf_pages.h"

#include <sys/resource.h>

#include <csignal>
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "output/output_run.h"
#include "output/write_job.h"
#include "platform/msgbox/scripted_message_box.h"

namespace pw::test {

// Files this process writes stop at `bytes`: writes past it fail with
// EFBIG, as writes to a full disk fail, while the cap lasts.
class FileSizeCap {
 public:
  explicit FileSizeCap(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit cap = saved_;
    cap.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &cap);
  }
  ~FileSizeCap() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_);
  }
  FileSizeCap(const FileSizeCap&) = delete;
  FileSizeCap& operator=(const FileSizeCap&) = delete;

 private:
  rlimit saved_{};
  void (*previous_)(int) = nullptr;
};

class RecordingWriterView final : public output::WriterView {
 public:
  void RedrawCurrentPage() override { ++redraws; }
  void SetWaitCursor(bool on) override { (on ? cursor_on : cursor_off)++; }
  void InvalidateMainWindow() override { ++main_window_invalidations; }
  void PageWriting(int index, int count, const Magick::Image& image) override {
    std::lock_guard lock(mutex);
    pages_shown.push_back({index, count, static_cast<int>(image.columns())});
  }
  struct Shown {
    int index, count, columns;
    bool operator==(const Shown&) const = default;
  };
  std::vector<Shown> PagesShown() const {
    std::lock_guard lock(mutex);
    return pages_shown;
  }

  std::atomic<int> redraws{0};
  std::atomic<int> cursor_on{0};
  std::atomic<int> cursor_off{0};
  std::atomic<int> main_window_invalidations{0};

 private:
  mutable std::mutex mutex;
  std::vector<Shown> pages_shown;
};

// Calls a function at the start of chosen renders (the n-th render of a
// run counted from 1), as if the user pressed Esc during it.
class RenderHook final : public render::RenderView {
 public:
  std::function<void(int render)> on_render;
  void RenderStarted(int) override {
    const int n = ++renders;
    if (on_render) on_render(n);
  }
  void BandStarted(int, int) override {}
  void RenderEnded() override {}
  void InvalidateStatusArea() override {}
  std::atomic<int> renders{0};
};

// Every writer test starts from default settings at a small resolution, an
// empty page set and run state, a scripted message box and a shell that
// records what it is asked to open.
class WriterTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Loads `count` pages of `width_mm` x `height_mm`, named like the capture
  // load names them ("50001.emf" ...), makes page `current` the current
  // page and renders it into the current page image.
  void LoadPages(int count, int width_mm = 40, int height_mm = 60, int current = 0,
                 const std::string& prefix = "5");

  // A folder of the test's own, ending with '/'.
  std::string OutDir(const std::string& name = "out");

  // The window's job for `target` with the settings as they are now,
  // shown in `view` and `hook`.
  output::WriteJob Job() const;

  output::SaveTarget target;

  std::shared_ptr<platform::ScriptedMessageBoxHost> messages;
  std::shared_ptr<RecordingWriterView> view;
  std::shared_ptr<RenderHook> hook;
  std::vector<std::string> opened;
};

// The regular files of a folder, sorted by name.
std::vector<std::string> FileNames(const std::filesystem::path& folder);

std::string ReadText(const std::filesystem::path& path);

}  // namespace pw::test
