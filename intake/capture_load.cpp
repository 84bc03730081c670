#include "intake/capture_load.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>


#include "intake/capture_printer.h"
#include "intake/handshake.h"
#include "intake/page_files.h"
#include "pages/page_render.h"
#include "pages/page_set.h"
#include "pages/thumbnails.h"
#include "intake/spool_reader.h"
#include "platform/clipboard/clipboard_store.h"
#include "platform/limits/limits.h"
#include "platform/msgbox/message_box.h"
#include "platform/paths/paths.h"
#include "platform/prnsupport/pw_prn_support.h"
#include "render/current_settings.h"
#include "render/image_library.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "settings/value_names.h"

namespace pw::intake {

namespace fs = std::filesystem;

namespace {

constexpr double kInchesPerMillimeter = 0.03937007874015748;
constexpr std::string_view kReleaseFailed = "ERROR 0000875\nTavrin Pagewick Message";
constexpr std::string_view kDeleteFailed = "ERROR 0000876\nTavrin Pagewick Message";
constexpr std::string_view kNoClipboardData = "No data in Clipboard!";

void Tell(std::string_view text) {
  platform::MessageBox(platform::MessageOwner::MainWindow, text, platform::kMessageCaption);
}

bool HasEmfExtension(const fs::path& path) {
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext == ".emf";
}

// The page files of a folder. The listing is sorted by name so that pages
// arrive in the same order on every file system, as they do on the one
// the capture format comes from.
std::vector<fs::path> ListPageFiles(const std::string& folder) {
  std::vector<fs::path> files;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code type_error;
    if (HasEmfExtension(it->path()) && it->is_regular_file(type_error)) files.push_back(it->path());
  }
  std::sort(files.begin(), files.end(),
            [](const fs::path& a, const fs::path& b) { return a.filename().string() < b.filename().string(); });
  return files;
}

class PageLoader {
 public:
  explicit PageLoader(const CaptureLoadOptions& options) : options_(options), pages_(pages::Pages()) {}

  // Steps 2 and 5 to 9 of one page, once its record holds name and metafile.
  void Finish(int index) {
    pages::PageRecord& record = pages_.Record(index);
    auto thumbnail = pages::MakeThumbnail(index);
    if (thumbnail)
      record.thumbnail = std::move(*thumbnail);
    else
      TellRenderFailure(index, thumbnail.error().message);
    record.thumb_width = record.thumbnail.width();
    record.thumb_height = record.thumbnail.height();

    const ViewRect strip = options_.view->StripClient();
    std::optional<ThumbnailPlace> previous;
    int previous_height = 0;
    if (index > 0) {
      const pages::PageRecord& before = pages_.Record(index - 1);
      previous = ThumbnailPlace{before.thumb_x, before.thumb_y};
      previous_height = before.thumb_height;
    }
    const ThumbnailPlace place = PlaceThumbnail(strip, record.thumb_width, record.thumb_height, previous, previous_height);
    record.thumb_x = place.x;
    record.thumb_y = place.y;

    pages_.SetCount(index + 1);
    pages_.MarkBusy();

    LoadView& view = *options_.view;
    view.InvalidateStrip({place.x, place.y, place.x + record.thumb_width, place.y + record.thumb_height + 24}, true);
    view.SetStripScrollRange(0, (index + 1) * 10);

    if (pages_.Current() < 0) ShowFirstPage(index);
  }

 private:
  void ShowFirstPage(int index) {
    LoadView& view = *options_.view;
    pages_.SetCurrent(index);
    view.InvalidateWholeStrip(false);
    const auto rendered = pages::RenderPageOfSet({.index = index, .resolution = render::CurrentResolution(),
                                                  .purpose = pages::RenderPurpose::View,
                                                  .view = options_.render_view});
    if (!rendered) TellRenderFailure(index, rendered.error().message);
    view.InvalidatePageView(false);
    const ViewRect frame = view.FrameClient();
    view.InvalidateFrame({frame.left + 50, frame.bottom - 25, frame.right - 200, frame.bottom - 4}, true);
  }

  // A load tells the first page it could not render, not every one: a
  // capture of many pages that all fail the same way is one message.
  void TellRenderFailure(int index, const std::string& why) {
    if (told_failure_) return;
    told_failure_ = true;
    Tell(pages::RenderFailureText(index, why));
  }

  const CaptureLoadOptions& options_;
  pages::PageSet& pages_;
  bool told_failure_ = false;
};

void LoadFolder(const CaptureLoadOptions& options, const std::string& folder, bool keep_files) {
  pages::PageSet& pages = pages::Pages();
  PageLoader loader(options);
  const std::vector<fs::path> files = ListPageFiles(folder);
  int index = 0;
  for (const fs::path& file : files) {
    if (index >= pages::kMaxPages || options.stop.stop_requested()) break;
    pages::PageRecord& record = pages.Record(index);
    record = pages::PageRecord{};
    record.file_name = file.filename().string();
    auto metafile = gdi::Metafile::FromFile(file);
    if (metafile) record.metafile = std::move(*metafile);
    // A page past a bound on its input says so before the release fails.
    if (!metafile && metafile.error().limit) Tell(metafile.error().limit->message);
    // A file that is no metafile has no handle to release.
    if (!metafile) Tell(kReleaseFailed);
    if (!keep_files) {
      std::error_code error;
      if (!fs::remove(file, error)) Tell(kDeleteFailed);
    }
    loader.Finish(index);
    ++index;
  }
  const int left_over = static_cast<int>(files.size()) - pages::kMaxPages;
  if (left_over > 0 && !options.stop.stop_requested()) Tell(PagesNotLoadedMessage(left_over));
}

// The clipboard page: written to the work folder, made page 0, deleted.
void LoadClipboardPage(const CaptureLoadOptions& options, const std::string& work_folder) {
  const std::string page_file = work_folder + std::string(kClipboardPageName);
  // The desktop's clipboard first; the program's own store when it holds
  // no metafile.
  auto content = options.input.desktop_clipboard;
  if (!content && content.error() == clipboard::ClipboardProblem::Empty) content = clipboard::ReadEnhMetafile();
  bool written = false;
  if (content)
    written = WritePageFile(page_file, *content);
  else if (content.error() == clipboard::ClipboardProblem::TooLarge)
    Tell(limits::kMetafileBytes.message);
  else
    Tell(kNoClipboardData);
  // The capture is consumed whether or not it held a page.
  clipboard::EmptyClipboard();
  // Only what was written now is loaded: a page file left over from an
  // earlier capture is not this capture's page.
  if (!written) return;

  pages::PageSet& pages = pages::Pages();
  pages::PageRecord& record = pages.Record(0);
  record = pages::PageRecord{};
  record.file_name = std::string(kClipboardPageName);
  if (auto metafile = gdi::Metafile::FromBytes(std::move(*content))) record.metafile = std::move(*metafile);
  PageLoader(options).Finish(0);
  std::error_code error;
  if (!fs::remove(page_file, error)) Tell(kDeleteFailed);
}

// The user's files, page after page as they come; the document name is the
// name of the first file that gave a page.
void LoadFiles(const CaptureLoadOptions& options, const std::vector<std::string>& files) {
  pages::PageSet& pages = pages::Pages();
  PageLoader loader(options);
  std::vector<std::string> problems;
  bool named = false;
  int index = 0;
  int left_over = 0;
  for (const std::string& file : files) {
    if (options.stop.stop_requested()) return;
    FilePages read = ReadPageFile(file);
    if (!read.problem.empty()) problems.push_back(std::move(read.problem));
    if (!read.pages.empty() && !named) {
      SetDocumentName(fs::path(file).filename().string());
      named = true;
    }
    for (gdi::Metafile& page : read.pages) {
      if (index >= pages::kMaxPages) {
        ++left_over;
        continue;
      }
      if (options.stop.stop_requested()) return;
      pages::PageRecord& record = pages.Record(index);
      record = pages::PageRecord{};
      record.file_name = NumberedPageName(index);
      record.metafile = std::move(page);
      loader.Finish(index);
      ++index;
    }
  }
  if (!problems.empty()) Tell(FileProblemsMessage(problems));
  if (left_over > 0) Tell(PagesNotLoadedMessage(left_over));
}

void LoadPrinterCapture(const CaptureLoadOptions& options, const std::string& work_folder) {
  if (CheckCapturePrinter() && ReadDocumentName()) SplitCaptureJobs(ExpectedDocumentName(DocumentName()));
  ClearCaptureJobs();
  fnPWPrnRefresh();
  LoadFolder(options, work_folder, false);
}

}  // namespace

int DisplayResolutionOf(const std::optional<DisplayExtent>& display) {
  if (!display || display->pixels <= 0 || display->millimeters <= 0) return 96;
  return static_cast<int>(std::ceil(display->pixels / (display->millimeters * kInchesPerMillimeter)));
}

ThumbnailPlace PlaceThumbnail(const ViewRect& strip, int width, int height, std::optional<ThumbnailPlace> previous,
                              int previous_height) {
  ThumbnailPlace place;
  place.x = (strip.right - width - strip.left) / 2;
  place.y = previous ? previous->y + previous_height + 24 : (140 - height) / 2 + strip.top + 5;
  return place;
}

std::string ExpectedDocumentName(std::string_view document_name) {
  std::string name(kExpectedDocumentPrefix);
  name += document_name;
  return name;
}

std::string SampleFolder() {
  std::string install = settings::ReadMachineString(settings::kInstallPath).value_or(platform::DefaultInstallFolder());
  if (install.empty()) install = platform::DefaultInstallFolder();
  if (install.back() != '/') install += '/';
  return install + "emf/";
}

std::string NumberedPageName(int index) {
  char name[16];
  std::snprintf(name, sizeof name, "%04d.emf", index + 1);
  return name;
}

std::string FileProblemsMessage(const std::vector<std::string>& problems) {
  std::string text = problems.size() == 1 ? "This file gave no pages or not all of them:" : "These files gave no pages or not all of them:";
  for (const std::string& problem : problems) text += "\n" + problem;
  return text;
}

std::string PagesNotLoadedMessage(int not_loaded) {
  return std::string(limits::kCapturePages.message) + " " + std::to_string(not_loaded) +
         (not_loaded == 1 ? " further page was" : " further pages were") + " not loaded.";
}

int LoadCapture(const CaptureLoadOptions& options) {
  if (!options.view) return 0;
  render::EnsureImageLibrary();
  pages::PageSet& pages = pages::Pages();

  const std::optional<std::string> work = platform::WorkFolder();
  const std::string sample_folder = SampleFolder();
  pages.SetFolders(work.value_or(std::string()), sample_folder);

  const int dpi = DisplayResolutionOf(options.view->Display());
  pages.SetDisplayResolution(dpi);
  settings::Update([dpi](settings::Settings& s) { s.DisplayResolution = dpi; });

  if (settings::Snapshot().QuickStartReference) {
    LoadFolder(options, sample_folder, true);
    return 0;
  }
  if (!options.input.files.empty()) {
    LoadFiles(options, options.input.files);
    return 0;
  }
  // Without a private temporary folder there is nowhere safe to put pages.
  if (!work) return 0;
  if (IsClipboardCapture())
    LoadClipboardPage(options, *work);
  else
    LoadPrinterCapture(options, *work);
  return 0;
}

namespace {

struct LoadThread {
  std::mutex mutex;
  std::jthread thread;
  std::atomic<bool> running{false};
};

LoadThread& TheLoadThread() {
  // The page set is made first so that it outlives the thread at exit.
  pages::Pages();
  static LoadThread load;
  return load;
}

}  // namespace

bool StartCaptureLoad(LoadView* view, render::RenderView* render_view, CaptureInput input) {
  if (!view) return false;
  LoadThread& load = TheLoadThread();
  std::lock_guard lock(load.mutex);
  if (load.running.load()) return false;
  if (load.thread.joinable()) load.thread.join();
  load.running.store(true);
  load.thread = std::jthread([view, render_view, input = std::move(input), &load](std::stop_token stop) {
    LoadCapture(CaptureLoadOptions{view, render_view, stop, input});
    load.running.store(false);
  });
  return true;
}

void StopCaptureLoad() {
  LoadThread& load = TheLoadThread();
  std::lock_guard lock(load.mutex);
  if (!load.thread.joinable()) return;
  load.thread.request_stop();
  load.thread.join();
}

void ReleasePages() {
  StopCaptureLoad();
  pages::Pages().Clear();
}

bool CaptureLoadRunning() { return TheLoadThread().running.load(); }

void RequestStopCaptureLoad() {
  LoadThread& load = TheLoadThread();
  std::lock_guard lock(load.mutex);
  if (load.thread.joinable()) load.thread.request_stop();
}

void WaitForCaptureLoad() {
  LoadThread& load = TheLoadThread();
  std::lock_guard lock(load.mutex);
  if (load.thread.joinable()) load.thread.join();
}

}  // namespace pw::intake
