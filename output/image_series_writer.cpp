#include "output/image_series_writer.h"

#include <optional>

#include "output/email_delivery.h"
#include "output/file_naming.h"
#include "output/image_file.h"
#include "output/output_run.h"
#include "output/pending_writes.h"
#include "output/run_guards.h"
#include "platform/files/file_writing.h"
#include "platform/msgbox/message_box.h"

namespace pw::output {

using platform::MessageBox;
using platform::MessageButtons;
using platform::MessageOwner;

WriteOutcome WriteImageSeries(const WriteJob& job) {
  pages::PageSet& pages = pages::Pages();
  OutputRun& run = Run();
  SendFlagReset send_reset;
  WaitCursorScope wait(job.view);
  WriteOutcome outcome;
  // What a run killed while writing here left beside its files goes first.
  files::RemoveStaleTemporaries(job.target.folder, job.target.base_name);
  const auto stopped = [&outcome](int code) {
    outcome.exit_code = code;
    return outcome;
  };
  PendingWrites pending;
  const auto enter = [&run, &outcome](int index) {
    return [&run, &outcome, index](const std::string& path, const Magick::Blob&) {
      run.written.Set(index, path);
      ++outcome.pages_written;
    };
  };

  const int count = pages.Count();
  for (int i = 0; i < count; ++i) {
    if (run.abort_requested.load()) {
      if (auto failed = pending.FinishAll()) return stopped(TellRunFailure(*failed));  // the pages in hand are finished first
      if (UserAbortsRun()) {
        outcome.aborted = true;
        return outcome;
      }
    }

    // The current page is written as it stands; a current page whose image
    // has not arrived yet is rendered like the others.
    Magick::Image image = pages.ImageOfPage(i);
    if (image.columns() == 0 || image.rows() == 0) {
      auto rendered = pages::RenderPageOfSet(job.Render(i));
      if (!rendered)
        return stopped(TellRunFailure(pending.FinishBefore(pages::RenderFailureText(i, rendered.error().message))));
      image = std::move(rendered->image);
    }

    if (job.view) job.view->PageWriting(i, count, image);
    const std::string path = SeriesFileNameOfPage(job.target, i, job.flags);
    if (path.size() > kMaxOutputPath) {
      if (auto failed = pending.FinishAll()) return stopped(TellRunFailure(*failed));
      MessageBox(MessageOwner::None, kNameTooLong, platform::kMessageCaption, MessageButtons::Ok);
      return stopped(-1);
    }
    if (auto failed = pending.Start(std::move(image), path, enter(i))) return stopped(TellRunFailure(*failed));
  }
  if (auto failed = pending.FinishAll()) return stopped(TellRunFailure(*failed));
  outcome.complete = true;
  if (run.send_after_run.load()) SendSeries(count);
  return outcome;
}

}  // namespace pw::output
