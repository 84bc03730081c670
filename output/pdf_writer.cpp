#include "output/pdf_writer.h"

#include <cerrno>
#include <cstdio>
#include <span>
#include <optional>

#include "output/email_delivery.h"
#include "output/file_naming.h"
#include "output/image_file.h"
#include "output/output_run.h"
#include "output/pending_writes.h"
#include "output/run_guards.h"
#include "platform/files/file_writing.h"
#include "platform/msgbox/message_box.h"
#include "platform/paths/paths.h"
#include "platform/pdf/pdf_document.h"
#include "platform/shell/shell_open.h"

namespace pw::output {
namespace {

using platform::MessageBox;
using platform::MessageButtons;
using platform::MessageIcon;
using platform::MessageOwner;


// Reads the page image the PDF command put aside back into the current
// page image.
void RestoreCurrentPage(WriterView* view) {
  const std::string path = PutAsidePath();
  if (path.empty()) return;
  if (std::FILE* probe = std::fopen(path.c_str(), "rb")) {
    std::fclose(probe);
  } else {
    return;
  }
  try {
    Magick::Image image;
    image.quiet(true);
    image.read(path);
    pages::Pages().SetCurrentImage(std::move(image));
  } catch (const Magick::Exception&) {
    // The current page keeps the image it has; the file goes all the same.
  }
  std::remove(path.c_str());
  if (view) view->InvalidateMainWindow();
}

}  // namespace

std::string PutAsidePath() {
  const auto work = platform::WorkFolder();
  if (!work) return {};
  return *work + "forPDFtmp" + SeriesExtension(CurrentFormatFlags());
}

bool PutCurrentPageAside() {
  SetOutputFormatBackup(CurrentFormatFlags());
  const std::string path = PutAsidePath();
  const Magick::Image image = pages::Pages().CurrentImage();
  if (path.empty() || image.columns() == 0) return false;
  return WriteImageFile(image, path).has_value();
}

WriteOutcome WriteMultipagePdf(const WriteJob& job) {
  pages::PageSet& pages = pages::Pages();
  OutputRun& run = Run();
  SendFlagReset send_reset;
  std::optional<MultipageModeReset> mode_reset;
  if (job.window_command) mode_reset.emplace();
  WriteOutcome outcome;
  // What a run killed while writing here left beside its files goes first.
  files::RemoveStaleTemporaries(job.target.folder, job.target.base_name);
  const auto stopped = [&outcome] {
    outcome.exit_code = -1;
    return outcome;
  };

  const bool make_document = job.multipage_mode == 1;
  // A run that keeps no page files needs no work folder: its pages go from
  // the encoder into the document.
  const bool keep_files = job.keep_inside_files || !make_document;
  std::string work;
  if (keep_files) {
    const auto folder = platform::WorkFolder();
    if (!folder) {
      TellRunFailure("The work folder for the PDF pages cannot be made.");
      return stopped();
    }
    work = *folder;
  }
  const std::string name = job.target.folder + "/" + job.target.base_name;

  std::unique_ptr<platform::PdfDocument> document;
  if (make_document) {
    const std::string pdf = name + ".pdf";
    document = platform::PdfDocument::New();
    if (!document) {
      MessageBox(MessageOwner::None, "Error 000078", platform::kMessageCaption, MessageButtons::Ok);
      return stopped();
    }
    if (!document->BeginDocument(pdf)) {
      // Only a name that is too long is told so; any other cause is named.
      const bool too_long = pdf.size() > kMaxOutputPath || document->LastSystemError() == ENAMETOOLONG;
      const std::string text = pdf.size() > kMaxOutputPath ? std::string(kNameTooLong)
                               : too_long ? std::string("Error 000079\n") + kNameTooLong
                                          : "Error 000079\n" + WriteFailureText(pdf, document->LastError());
      MessageBox(MessageOwner::None, text, platform::kMessageCaption, MessageButtons::Ok);
      return stopped();
    }
    document->SetSearchPath(work);
  }

  WaitCursorScope wait(job.view);
  const std::string extension = make_document ? InsideExtension(job.inside_format) : std::string(".bmp");

  // Each page goes into the document once it is encoded, in page order,
  // while the next pages render. The document takes the encoded bytes, not
  // the file: what it holds is what this run made, whatever happens to the
  // file in the meantime.
  const auto add_page = [&run, &document, &outcome, keep_files](int index) {
    return [&run, &document, &outcome, keep_files, index](const std::string& inside, const Magick::Blob& encoded) {
      if (keep_files) run.written.Set(index, inside);
      if (!document) {
        ++outcome.pages_written;
        return;
      }
      if (!document->IsOpen()) return;  // its file failed: the run stops, told once
      const auto* bytes = static_cast<const std::byte*>(encoded.data());
      const int image = document->LoadImageBytes(std::span(bytes, encoded.length()));
      if (image < 0 && !document->IsOpen()) return;
      if (image < 0) {
        ++outcome.pages_left_out;
        MessageBox(MessageOwner::MainWindow, "ERROR 05000157", "Pagewick Message", MessageButtons::Ok);
        return;
      }
      document->BeginPage(10, 10);
      document->FitImage(image, 0, 0, true);
      document->CloseImage(image);
      document->EndPage();
      ++outcome.pages_written;
    };
  };
  // Page images in flight wait in memory for the document; half a series'
  // budget keeps the run's peak low, whatever the page count.
  PendingWrites pending(0, std::int64_t{128} << 20);
  const auto keep = keep_files ? PendingWrites::Keep::File : PendingWrites::Keep::MemoryOnly;
  // A document whose file failed (a full disk) takes no more pages: the run
  // stops with the cause rather than leave each later page out.
  const auto document_failed = [&document, &name] {
    if (!document || document->IsOpen()) return false;
    TellRunFailure(WriteFailureText(name + ".pdf", document->LastError()));
    return true;
  };

  const int count = pages.Count();
  for (int i = 0; i < count; ++i) {
    if (UserAbortsRun()) {  // the unfinished document goes with its object
      outcome.aborted = true;
      return outcome;
    }
    auto rendered = pages::RenderPageOfSet(job.Render(i));
    if (!rendered) {
      TellRunFailure(pending.FinishBefore(pages::RenderFailureText(i, rendered.error().message)));
      return stopped();
    }
    if (job.view) job.view->PageWriting(i, count, rendered->image);
    const std::string inside_name = PageNumberOf(pages.Record(i).file_name, i) + extension;
    if (auto failed = pending.Start(std::move(rendered->image), work + inside_name, add_page(i), keep)) {
      TellRunFailure(*failed);
      return stopped();
    }
    if (document_failed()) return stopped();
  }
  if (auto failed = pending.FinishAll()) {
    TellRunFailure(*failed);
    return stopped();
  }
  if (document_failed()) return stopped();

  const bool send = run.send_after_run.load();
  std::string result = name;
  bool finished = false;
  if (!make_document) {
    MessageBox(MessageOwner::MainWindow, "Wrong Format\nError 000054", kApplicationCaption, MessageButtons::Ok,
               MessageIcon::Warning);
  } else {
    result += ".pdf";
    finished = document->EndDocument();
    const std::string why = document->LastError();
    document.reset();
    if (!finished) TellRunFailure(WriteFailureText(result, why.empty() ? "the document could not be saved" : why));
    if (finished && !send && job.start_file) platform::ShellOpen(result);
    if (job.window_command) {
      if (auto backup = TakeOutputFormatBackup()) StoreFormatFlags(*backup);
      if (!send) RestoreCurrentPage(job.view.get());
    }
  }
  outcome.complete = finished && outcome.pages_left_out == 0;
  // Only a finished document is sent.
  if (send && finished) {
    run.written.Set(0, result);
    SendSingleFile();
  }
  return outcome;
}

}  // namespace pw::output
