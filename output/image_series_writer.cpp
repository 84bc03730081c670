#include "output/image_series_writer.h"

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

}  // namespace

int WriteImageSeries() {
  app::PageSet& pages = app::Pages();
  OutputRun& run = Run();
  SendFlagReset send_reset;
  const SaveTarget target = CurrentSaveTarget();
  const FormatFlags flags = CurrentFormatFlags();
  const double resolution = render::CurrentResolution();
  WaitCursorScope wait;

  const int count = pages.Count();
  for (int i = 0; i < count; ++i) {
    if (UserAbortsRun()) return 0;

    // The current page is written as it stands; a current page that has no
    // image yet is rendered like the others.
    Magick::Image image;
    if (i == pages.Current()) image = pages.CurrentImage();
    if (image.columns() == 0 || image.rows() == 0) {
      auto rendered = RenderPageForRun(i, resolution, false);
      if (!rendered) return Fail(RenderFailureText(i, rendered.error()));
      image = std::move(*rendered);
    }

    const std::string path = SeriesFileNameOfPage(target, i, flags);
    if (path.size() > kMaxOutputPath) {
      MessageBox(MessageOwner::None, kNameTooLong, platform::kMessageCaption, MessageButtons::Ok);
      return -1;
    }
    if (auto written = WriteImageFile(std::move(image), path); !written)
      return Fail(WriteFailureText(path, written.error()));
    run.written.Set(i, path);
  }
  if (run.send_after_run.load()) SendSeries(count);
  return 0;
}

}  // namespace pw::output
