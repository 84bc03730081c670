#include "output/output_run.h"

#include <algorithm>
#include <thread>
#include <utility>

#include "output/write_job.h"
#include "platform/msgbox/message_box.h"
#include "settings/settings_record.h"
#include "settings/value_names.h"

namespace pw::output {
namespace {

std::mutex g_backup_mutex;
std::optional<FormatFlags> g_backup;

// The one writer thread. Joined at exit so a run is never cut off mid-file.
class WriterThread {
 public:
  ~WriterThread() { Wait(); }

  bool Start(std::function<int()> procedure) {
    std::lock_guard lock(mutex_);
    if (running_.load()) return false;
    if (thread_.joinable()) thread_.join();
    running_.store(true);
    exit_code_.reset();
    thread_ = std::thread([this, procedure = std::move(procedure)] {
      const int code = procedure();
      {
        std::lock_guard done(result_mutex_);
        exit_code_ = code;
      }
      running_.store(false);
    });
    return true;
  }

  std::optional<int> Wait() {
    std::lock_guard lock(mutex_);
    if (thread_.joinable()) thread_.join();
    std::lock_guard done(result_mutex_);
    return exit_code_;
  }

  bool Running() const { return running_.load(); }

 private:
  std::mutex mutex_;
  std::mutex result_mutex_;
  std::thread thread_;
  std::atomic<bool> running_{false};
  std::optional<int> exit_code_;
};

WriterThread& TheWriterThread() {
  static WriterThread thread;
  return thread;
}

}  // namespace

void WrittenFileList::Set(int index, std::string path) {
  if (index < 0 || index >= pages::kMaxPages) return;
  std::lock_guard lock(mutex_);
  paths_[static_cast<std::size_t>(index)] = std::move(path);
}

std::string WrittenFileList::Get(int index) const {
  if (index < 0 || index >= pages::kMaxPages) return {};
  std::lock_guard lock(mutex_);
  return paths_[static_cast<std::size_t>(index)];
}

std::vector<std::string> WrittenFileList::First(int count) const {
  std::lock_guard lock(mutex_);
  const auto n = static_cast<std::size_t>(std::clamp(count, 0, pages::kMaxPages));
  return {paths_.begin(), paths_.begin() + static_cast<std::ptrdiff_t>(n)};
}

void WrittenFileList::Clear() {
  std::lock_guard lock(mutex_);
  for (std::string& path : paths_) path.clear();
}

OutputRun& Run() {
  static OutputRun run;
  return run;
}

FormatFlags CurrentFormatFlags() {
  const settings::Settings s = settings::Snapshot();
  return {s.JPG_Default, s.GIF_Default, s.PNG_Default, s.BMP_Default, s.TIF_Default};
}

bool StoreFormatFlags(const FormatFlags& flags) {
  return settings::ChangeAndStore(
      [&flags](settings::Settings& s) {
        s.JPG_Default = flags.jpg;
        s.GIF_Default = flags.gif;
        s.PNG_Default = flags.png;
        s.BMP_Default = flags.bmp;
        s.TIF_Default = flags.tif;
      },
      {settings::kJpgDefault, settings::kGifDefault, settings::kPngDefault, settings::kBmpDefault, settings::kTifDefault});
}

void SetOutputFormatBackup(std::optional<FormatFlags> flags) {
  std::lock_guard lock(g_backup_mutex);
  g_backup = flags;
}

std::optional<FormatFlags> TakeOutputFormatBackup() {
  std::lock_guard lock(g_backup_mutex);
  return std::exchange(g_backup, std::nullopt);
}

WaitCursorScope::WaitCursorScope(std::shared_ptr<WriterView> view) : view_(std::move(view)) {
  if (!view_) return;
  view_->RedrawCurrentPage();
  view_->SetWaitCursor(true);
}

WaitCursorScope::~WaitCursorScope() {
  if (view_) view_->SetWaitCursor(false);
}

int TellRunFailure(const std::string& text) {
  platform::MessageBox(platform::MessageOwner::MainWindow, text, platform::kMessageCaption,
                       platform::MessageButtons::Ok, platform::MessageIcon::Error);
  return -1;
}

bool UserAbortsRun() {
  if (!Run().abort_requested.exchange(false)) return false;
  return platform::MessageBox(platform::MessageOwner::MainWindow, "Abort File Generation Process?",
                              platform::kMessageCaption, platform::MessageButtons::OkCancel,
                              platform::MessageIcon::Question) == platform::MessageAnswer::Ok;
}

bool StartWriter(Writer writer, WriteJob job) {
  const pages::PageSet& pages = pages::Pages();
  const int current = pages.Current();
  if (current < 0 || current >= pages.Count()) return false;
  if (TheWriterThread().Running()) return false;
  Run().abort_requested.store(false);
  return TheWriterThread().Start([writer, job = std::move(job)] { return writer(job).exit_code; });
}

std::optional<int> WaitForWriter() { return TheWriterThread().Wait(); }

bool WriterRunning() { return TheWriterThread().Running(); }

}  // namespace pw::output
