#include "output/pdf_writer.h"

#include <cstdio>

#include "output/email_delivery.h"
#include "output/file_naming.h"
#include "output/image_file.h"
#include "output/output_run.h"
#include "output/pending_writes.h"
#include "output/run_guards.h"
#include "platform/msgbox/message_box.h"
#include "platform/paths/paths.h"
#include "platform/pdf/pdf_document.h"
#include "platform/shell/shell_open.h"
#include "render/current_settings.h"
#include "settings/settings_store.h"

namespace pw::output {
namespace {

using platform::MessageBox;
using platform::MessageButtons;
using platform::MessageIcon;
using platform::MessageOwner;


// Reads the page image the PDF command put aside back into the current
// page image.
void RestoreCurrentPage() {
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
  if (auto view = CurrentWriterView()) view->InvalidateMainWindow();
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

int WriteMultipagePdf() {
  pages::PageSet& pages = pages::Pages();
  OutputRun& run = Run();
  SendFlagReset send_reset;
  MultipageModeReset mode_reset;

  const auto work = platform::WorkFolder();
  if (!work) {
    TellRunFailure("The work folder for the PDF pages cannot be made.");
    return -1;
  }
  const settings::Settings start = settings::Snapshot();
  const bool make_document = start.KodMultipageFormat == 1;
  const SaveTarget target = CurrentSaveTarget();
  const std::string name = target.folder + "/" + target.base_name;

  std::unique_ptr<platform::PdfDocument> document;
  if (make_document) {
    const std::string pdf = name + ".pdf";
    document = platform::PdfDocument::New();
    if (!document) {
      MessageBox(MessageOwner::None, "Error 000078", platform::kMessageCaption, MessageButtons::Ok);
      return -1;
    }
    if (!document->BeginDocument(pdf)) {
      const std::string text = pdf.size() > kMaxOutputPath ? std::string(kNameTooLong)
                                                           : std::string("Error 000079\n") + kNameTooLong;
      MessageBox(MessageOwner::None, text, platform::kMessageCaption, MessageButtons::Ok);
      return -1;
    }
    document->SetSearchPath(*work);
  }

  WaitCursorScope wait;
  const double resolution = render::CurrentResolution();
  const auto render_view = CurrentWriterRenderView();
  const std::string extension =
      make_document ? InsideExtension(settings::ReadUserString("PDF_Bitmp_Format").value_or(std::string()))
                    : std::string(".bmp");

  // Each page's image file goes into the document once it is written, in
  // page order, while the next pages render.
  const auto add_page = [&run, &document](int index, std::string inside_name) {
    return [&run, &document, index, inside_name](const std::string& inside) {
      run.written.Set(index, inside);
      if (!document) return;
      const int image = document->LoadImage(inside_name);
      if (image < 0) {
        MessageBox(MessageOwner::MainWindow, "ERROR 05000157", "Pagewick Message", MessageButtons::Ok);
        return;
      }
      document->BeginPage(10, 10);
      document->FitImage(image, 0, 0, true);
      document->CloseImage(image);
      document->EndPage();
    };
  };
  PendingWrites pending;

  const int count = pages.Count();
  for (int i = 0; i < count; ++i) {
    if (UserAbortsRun()) return 0;  // the unfinished document goes with its object
    auto rendered = pages::RenderPageOfSet(WriterRender(i, resolution, render_view.get()));
    if (!rendered) {
      TellRunFailure(pending.FinishBefore(pages::RenderFailureText(i, rendered.error().message)));
      return -1;
    }
    const std::string inside_name = PageNumberOf(pages.Record(i).file_name, i) + extension;
    if (auto failed = pending.Start(std::move(rendered->image), *work + inside_name, add_page(i, inside_name))) {
      TellRunFailure(*failed);
      return -1;
    }
  }
  if (auto failed = pending.FinishAll()) {
    TellRunFailure(*failed);
    return -1;
  }

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
    if (finished && !send && start.StartFile_Opt) platform::ShellOpen(result);
    if (auto backup = TakeOutputFormatBackup()) StoreFormatFlags(*backup);
    if (!send) RestoreCurrentPage();
  }
  // Only a finished document is sent.
  if (send && finished) {
    run.written.Set(0, result);
    SendSingleFile();
  }
  return 0;
}

}  // namespace pw::output
