#include "output/image_series_writer.h"

#include <optional>

#include "output/email_delivery.h"
#include "output/file_naming.h"
#include "output/image_file.h"
#include "output/output_run.h"
#include "output/pending_writes.h"
#include "output/run_guards.h"
#include "platform/msgbox/message_box.h"
#include "render/current_settings.h"

namespace pw::output {

using platform::MessageBox;
using platform::MessageButtons;
using platform::MessageOwner;

int WriteImageSeries() {
  pages::PageSet& pages = pages::Pages();
  OutputRun& run = Run();
  SendFlagReset send_reset;
  const SaveTarget target = CurrentSaveTarget();
  const FormatFlags flags = CurrentFormatFlags();
  const double resolution = render::CurrentResolution();
  const auto render_view = CurrentWriterRenderView();
  WaitCursorScope wait;
  PendingWrites pending;
  const auto enter = [&run](int index) {
    return [&run, index](const std::string& path) { run.written.Set(index, path); };
  };

  const int count = pages.Count();
  for (int i = 0; i < count; ++i) {
    if (run.abort_requested.load()) {
      if (auto failed = pending.FinishAll()) return TellRunFailure(*failed);  // the pages in hand are finished first
      if (UserAbortsRun()) return 0;
    }

    // The current page is written as it stands; a current page whose image
    // has not arrived yet is rendered like the others.
    Magick::Image image = pages.ImageOfPage(i);
    if (image.columns() == 0 || image.rows() == 0) {
      auto rendered = pages::RenderPageOfSet(WriterRender(i, resolution, render_view.get()));
      if (!rendered) return TellRunFailure(pending.FinishBefore(pages::RenderFailureText(i, rendered.error().message)));
      image = std::move(rendered->image);
    }

    const std::string path = SeriesFileNameOfPage(target, i, flags);
    if (path.size() > kMaxOutputPath) {
      if (auto failed = pending.FinishAll()) return TellRunFailure(*failed);
      MessageBox(MessageOwner::None, kNameTooLong, platform::kMessageCaption, MessageButtons::Ok);
      return -1;
    }
    if (auto failed = pending.Start(std::move(image), path, enter(i))) return TellRunFailure(*failed);
  }
  if (auto failed = pending.FinishAll()) return TellRunFailure(*failed);
  if (run.send_after_run.load()) SendSeries(count);
  return 0;
}

}  // namespace pw::output
