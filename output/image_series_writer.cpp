#include "output/image_series_writer.h"

#include <future>
#include <optional>

#include "output/email_delivery.h"
#include "output/file_naming.h"
#include "output/image_file.h"
#include "output/output_run.h"
#include "output/run_guards.h"
#include "platform/msgbox/message_box.h"
#include "render/current_settings.h"

namespace pw::output {
namespace {

using platform::MessageBox;
using platform::MessageButtons;
using platform::MessageIcon;
using platform::MessageOwner;

int Fail(const std::string& text) {
  MessageBox(MessageOwner::MainWindow, text, platform::kMessageCaption, MessageButtons::Ok, MessageIcon::Error);
  return -1;
}

// The file of one page is encoded and written while the next page renders.
// A page is entered in the written-file list once its file is complete.
class PendingWrite {
 public:
  ~PendingWrite() { Finish(); }

  void Start(Magick::Image image, std::string path, int index) {
    path_ = std::move(path);
    index_ = index;
    result_ = std::async(std::launch::async, [image = std::move(image), path = path_]() mutable {
      return WriteImageFile(std::move(image), path);
    });
  }

  // Waits for the write in progress; the failure text when it failed.
  std::optional<std::string> Finish() {
    if (!result_.valid()) return std::nullopt;
    const auto written = result_.get();
    if (!written) return WriteFailureText(path_, written.error());
    Run().written.Set(index_, path_);
    return std::nullopt;
  }

 private:
  std::future<tl::expected<void, std::string>> result_;
  std::string path_;
  int index_ = 0;
};

}  // namespace

int WriteImageSeries() {
  app::PageSet& pages = app::Pages();
  OutputRun& run = Run();
  SendFlagReset send_reset;
  const SaveTarget target = CurrentSaveTarget();
  const FormatFlags flags = CurrentFormatFlags();
  const double resolution = render::CurrentResolution();
  WaitCursorScope wait;
  PendingWrite pending;

  const int count = pages.Count();
  for (int i = 0; i < count; ++i) {
    if (run.abort_requested.load()) {
      if (auto failed = pending.Finish()) return Fail(*failed);  // the page in hand is finished first
      if (UserAbortsRun()) return 0;
    }

    // The current page is written as it stands; a current page that has no
    // image yet is rendered like the others.
    Magick::Image image;
    if (i == pages.Current()) image = pages.CurrentImage();
    if (image.columns() == 0 || image.rows() == 0) {
      auto rendered = RenderPageForRun(i, resolution, false);
      if (!rendered) {
        if (auto failed = pending.Finish()) return Fail(*failed);
        return Fail(RenderFailureText(i, rendered.error()));
      }
      image = std::move(*rendered);
    }
    if (auto failed = pending.Finish()) return Fail(*failed);

    const std::string path = SeriesFileNameOfPage(target, i, flags);
    if (path.size() > kMaxOutputPath) {
      MessageBox(MessageOwner::None, kNameTooLong, platform::kMessageCaption, MessageButtons::Ok);
      return -1;
    }
    pending.Start(std::move(image), path, i);
  }
  if (auto failed = pending.Finish()) return Fail(*failed);
  if (run.send_after_run.load()) SendSeries(count);
  return 0;
}

}  // namespace pw::output
