#include "output/save_commands.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>

#include "intake/handshake.h"
#include "output/email_delivery.h"
#include "output/file_naming.h"
#include "output/html_gallery_writer.h"
#include "output/image_file.h"
#include "output/image_series_writer.h"
#include "output/pdf_writer.h"
#include "output/run_guards.h"
#include "output/write_job.h"
#include "pages/page_set.h"
#include "platform/msgbox/message_box.h"
#include "platform/paths/paths.h"
#include "render/current_settings.h"
#include "settings/option_commands.h"
#include "settings/output_format.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "settings/value_names.h"

namespace pw::output {
namespace {

using platform::MessageAnswer;
using platform::MessageBox;
using platform::MessageButtons;
using platform::MessageIcon;
using platform::MessageOwner;
using settings::OutputFormat;
using settings::Settings;

bool HasCurrentPage() {
  const pages::PageSet& pages = pages::Pages();
  const int current = pages.Current();
  return current >= 0 && current < pages.Count();
}

// JPG 1, GIF 2, PNG 3, TIF 5, otherwise 4.
int SeriesFilterIndex(const FormatFlags& f) {
  if (f.jpg) return 1;
  if (f.gif) return 2;
  if (f.png) return 3;
  if (f.tif) return 5;
  return 4;
}

// The gallery dialog has no TIF entry: TIF preselects JPG.
int GalleryFilterIndex(const FormatFlags& f) {
  if (f.jpg) return 1;
  if (f.gif) return 2;
  if (f.png) return 3;
  if (f.tif) return 1;
  return 4;
}

// "Save to..." starts at 1 and lets each later format override.
int PageFilterIndex(const FormatFlags& f) {
  int index = 1;
  if (f.tif) index = 5;
  if (f.bmp) index = 4;
  if (f.png) index = 3;
  if (f.gif) index = 2;
  return index;
}

bool Exists(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  std::fclose(file);
  return true;
}

// The writers' names hold "//" where the folder meets the name; the user
// is shown the file as the file system names it.
std::string Shown(const std::string& path) { return std::filesystem::path(path).lexically_normal().string(); }

bool UserReplaces(const std::string& path) {
  return MessageBox(MessageOwner::MainWindow, Shown(path) + kReplaceQuestion, kReplaceCaption, MessageButtons::YesNo,
                    MessageIcon::Warning) == MessageAnswer::Yes;
}

SaveDialogRequest RequestOf(SaveDialogKind kind, std::vector<FileFilter> filters, int filter_index) {
  const Settings s = settings::Snapshot();
  SaveDialogRequest request;
  request.kind = kind;
  request.filters = std::move(filters);
  request.filter_index = filter_index;
  request.initial_folder = settings::ReadUserString(settings::kSavePath).value_or(std::string());
  request.file_name = DocumentBaseName(intake::DocumentName());
  request.save_file_opt = s.SaveFile_Opt;
  request.start_file_opt = s.StartFile_Opt;
  return request;
}

// Runs the save dialog until the user confirms a target. `confirmed` takes
// a confirmed dialog, stores what the command stores at that point and
// gives the file whose replacement is asked about, or nothing to end the
// command. No to the question opens the dialog again where the user left it.
std::optional<SaveDialogResult> AskTarget(
    SaveHost& host, SaveDialogRequest request,
    const std::function<std::optional<std::string>(const SaveDialogResult&)>& confirmed) {
  for (;;) {
    std::optional<SaveDialogResult> result = host.RunSaveDialog(request);
    if (!result) return std::nullopt;
    const std::optional<std::string> target = confirmed(*result);
    if (!target) return std::nullopt;
    if (!Exists(*target) || UserReplaces(*target)) return result;
    const ChosenPath chosen = SplitChosenPath(result->path);
    request.initial_folder = chosen.folder;
    request.file_name = chosen.title;
    request.filter_index = result->filter_index;
    request.save_file_opt = result->save_file_opt;
    request.start_file_opt = result->start_file_opt;
  }
}

// The chosen folder and title become the run's target and the folder is
// stored as "SavePath".
SaveTarget TargetOf(const SaveDialogResult& result) {
  const ChosenPath chosen = SplitChosenPath(result.path);
  settings::WriteUserString(settings::kSavePath, chosen.folder);
  return {chosen.folder, chosen.title};
}

void StoreDialogCopies(const SaveDialogResult& result) {
  settings::ChangeAndStore(
      [&result](Settings& s) {
        s.SaveFile_Opt = result.save_file_opt;
        s.StartFile_Opt = result.start_file_opt;
      },
      {settings::kSaveFileOpt, settings::kStartFileOpt});
}

void SelectFormat(int code, SaveHost& host) {
  if (const auto format = settings::OutputFormatFromCode(code)) settings::SelectOutputFormat(*format, host.Options());
}

// The single-format sheet; after OK the current page shows its new values.
void SingleFormatSheet(SaveHost& host) {
  if (!host.RunSingleFormatSheet()) return;
  settings::OptionHost& options = host.Options();
  options.SetWaitCursor(true);
  options.RefreshCurrentPage();
  options.SetWaitCursor(false);
}

std::optional<OutputFormat> InsideFormatOf(const std::string& text) {
  if (text == "JPG") return OutputFormat::Jpg;
  if (text == "GIF") return OutputFormat::Gif;
  if (text == "PNG") return OutputFormat::Png;
  if (text == "BMP") return OutputFormat::Bmp;
  if (text == "TIF") return OutputFormat::Tif;
  return std::nullopt;
}

// Makes the stored PDF inside format the output format; the PDF save
// tells first that GIF is not supported, and switches all the same.
void SwitchToInsideFormat(SaveHost& host, bool tell_gif) {
  const auto inside = InsideFormatOf(settings::ReadUserString(settings::kPdfBitmpFormat).value_or(std::string()));
  if (!inside || settings::FlaggedFormat(settings::Snapshot()) == *inside) return;
  if (tell_gif && *inside == OutputFormat::Gif)
    MessageBox(MessageOwner::MainWindow, kGifNotSupported, kApplicationCaption, MessageButtons::Ok,
               MessageIcon::Warning);
  settings::SelectOutputFormat(*inside, host.Options());
}

bool StartRun(SaveHost& host, Writer writer, SaveTarget target) {
  return StartWriter(writer, CurrentWriteJob(std::move(target), host.RunView(), host.RunRenderView()));
}

void TellWriteFailure(const std::string& path, const std::string& why) {
  MessageBox(MessageOwner::MainWindow, WriteFailureText(path, why), platform::kMessageCaption, MessageButtons::Ok,
             MessageIcon::Error);
}

// The pages' work folder, or the user is told it cannot be made.
std::optional<std::string> WorkFolderOrTell() {
  auto work = platform::WorkFolder();
  if (!work) TellRunFailure("The work folder for the pages cannot be made.");
  return work;
}

}  // namespace

std::vector<FileFilter> ImageFilters() {
  return {{"JPG (JPEG file interchange format)", "*.jpg"},
          {"GIF (Graphics Interchange Format)", "*.gif"},
          {"PNG (Portable Network Graphics)", "*.png"},
          {"BMP (Windows Bitmap)", "*.bmp"},
          {"TIF (TIFF Tagged Image File Format)", "*.tif"}};
}

std::string DocumentBaseName(std::string_view document_name) {
  return std::string(document_name.substr(0, document_name.find('.')));
}

ChosenPath SplitChosenPath(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  const std::size_t name_start = slash == std::string_view::npos ? 0 : slash + 1;
  const std::string_view name = path.substr(name_start);
  const std::size_t dot = name.rfind('.');
  // A leading dot starts a hidden name, not an extension.
  const std::string_view title = dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot);
  return {std::string(path.substr(0, name_start)), std::string(title)};
}

std::string PdfResolutionQuestion(double dpi) {
  return "Current resolution " + std::to_string(static_cast<int>(dpi)) +
         " dpi is too small for PDF.\nRecommended resolution is 100 to 300 dpi.\nContinue with current resolution?";
}

void SaveImageSeries(SaveHost& host) {
  // One run at a time: a save while one writes would share its files.
  if (WriterRunning()) return;
  SaveTarget target;
  const auto result = AskTarget(
      host, RequestOf(SaveDialogKind::ImageOptions, ImageFilters(), SeriesFilterIndex(CurrentFormatFlags())),
      [&](const SaveDialogResult& r) -> std::optional<std::string> {
        target = TargetOf(r);
        SelectFormat(r.filter_index, host);
        settings::Change(&Settings::SaveFile_Opt, r.save_file_opt);
        const FormatFlags flags = CurrentFormatFlags();
        const std::string first = target.folder + "/" + target.base_name + "0001" + SeriesExtension(flags);
        if (first.size() > kMaxFirstSeriesName) {
          MessageBox(MessageOwner::None, kNameTooLong, platform::kMessageCaption, MessageButtons::Ok);
          return std::nullopt;
        }
        // The question names the file the run will replace first: a long
        // base name is cut and the first page may not be numbered 0001.
        return SeriesFileNameOfPage(target, 0, flags);
      });
  if (!result) return;
  if (settings::Snapshot().SaveFile_Opt) SingleFormatSheet(host);
  StartRun(host, WriteImageSeries, target);
}

void SaveMultipagePdf(SaveHost& host) {
  if (WriterRunning()) return;
  for (double dpi = render::CurrentResolution(); dpi < 100.0; dpi = render::CurrentResolution()) {
    const MessageAnswer answer = MessageBox(MessageOwner::None, PdfResolutionQuestion(dpi), platform::kMessageCaption,
                                            MessageButtons::YesNoCancel, MessageIcon::Question);
    if (answer == MessageAnswer::Yes) break;
    if (answer != MessageAnswer::No) return;
    settings::EditResolution(host.Options());
  }
  PutCurrentPageAside();

  SaveTarget target;
  const auto result = AskTarget(host,
                                RequestOf(SaveDialogKind::ImageOptionsAndStart,
                                          {{"PDF (Portable Document Format)", "*.pdf"}}, 1),
                                [&](const SaveDialogResult& r) -> std::optional<std::string> {
                                  target = TargetOf(r);
                                  return target.folder + "/" + target.base_name + ".pdf";
                                });
  if (!result) return;
  StoreDialogCopies(*result);
  StoreMultipageMode(1);
  if (result->save_file_opt) {
    host.RunExtraFormatSheet(2);
    SwitchToInsideFormat(host, true);
    SingleFormatSheet(host);
  }
  // A run that does not start must not leave later renders in the PDF's
  // inside format.
  if (!StartRun(host, WriteMultipagePdf, target)) StoreMultipageMode(0);
}

void SaveHtmlGallery(SaveHost& host) {
  if (WriterRunning()) return;
  std::vector<FileFilter> filters = ImageFilters();
  filters.pop_back();  // no TIF gallery
  SaveTarget target;
  const auto result = AskTarget(
      host,
      RequestOf(SaveDialogKind::ImageOptionsAndStart, std::move(filters), GalleryFilterIndex(CurrentFormatFlags())),
      [&](const SaveDialogResult& r) -> std::optional<std::string> {
        target = TargetOf(r);
        SelectFormat(r.filter_index, host);
        StoreDialogCopies(r);
        return target.folder + "/" + target.base_name + ".html";
      });
  if (!result) return;
  if (result->save_file_opt) SingleFormatSheet(host);
  StartRun(host, WriteHtmlGallery, target);
}

void SendByEmail(SaveHost& host) {
  if (!HasCurrentPage() || WriterRunning()) return;
  const Settings s = settings::Snapshot();
  const std::optional<MailFormatChoice> choice = host.RunMailFormatDialog(s.KodEmailFormat, s.SaveFile_Opt);
  if (!choice) return;
  const auto work = WorkFolderOrTell();
  if (!work) return;
  SaveTarget target{*work, DocumentBaseName(intake::DocumentName())};
  if (choice->format != s.KodEmailFormat) settings::Change(&Settings::KodEmailFormat, choice->format);
  settings::Change(&Settings::SaveFile_Opt, choice->save_file_opt);

  const bool pdf = choice->format == settings::CodeOf(OutputFormat::MultipagePdf);
  if (choice->format >= 1 && choice->format <= 5) {
    SelectFormat(choice->format, host);
    if (choice->save_file_opt) SingleFormatSheet(host);
  } else if (pdf) {
    if (choice->save_file_opt) host.RunExtraFormatSheet(2);
    SwitchToInsideFormat(host, false);
    if (choice->save_file_opt) SingleFormatSheet(host);
  }
  if (!HasCurrentPage()) return;

  Run().send_after_run.store(true);
  bool started = false;
  if (pdf) {
    settings::Update([](Settings& record) { record.KodMultipageFormat = 1; });
    target.base_name = "doc";
    // The e-mail run keeps the inside format as the output format: a backup
    // left by a cancelled PDF save must not be put back at its end.
    SetOutputFormatBackup(std::nullopt);
    started = StartRun(host, WriteMultipagePdf, target);
    if (!started) settings::Update([](Settings& record) { record.KodMultipageFormat = 0; });
  } else {
    started = StartRun(host, WriteImageSeries, target);
  }
  // Left set, the next save would be sent.
  if (!started) Run().send_after_run.store(false);
}

void SendCurrentPage(SaveHost& host) {
  if (!HasCurrentPage() || WriterRunning()) return;
  host.RedrawPageView();
  const auto work = WorkFolderOrTell();
  if (!work) return;
  pages::PageSet& pages = pages::Pages();
  const int current = pages.Current();
  // BMP and TIF pages both go as BMP files.
  const std::string path = *work + DocumentBaseName(intake::DocumentName()) +
                           PageNumberOf(pages.Record(current).file_name, current) +
                           GalleryExtension(CurrentFormatFlags());
  if (auto written = WriteImageFile(pages.CurrentImage(), path); !written) {
    TellWriteFailure(path, written.error());
    return;
  }
  Run().written.Set(0, path);
  SendSingleFile();
}

void SaveCurrentPage(SaveHost& host) {
  if (!HasCurrentPage() || WriterRunning()) return;
  SaveDialogRequest request = RequestOf(SaveDialogKind::Plain, ImageFilters(), PageFilterIndex(CurrentFormatFlags()));
  request.overwrite_prompt = true;
  const std::optional<SaveDialogResult> result = host.RunSaveDialog(request);
  if (!result) return;
  const ChosenPath chosen = SplitChosenPath(result->path);
  settings::WriteUserString(settings::kSavePath, chosen.folder);
  const auto format = settings::OutputFormatFromCode(result->filter_index);
  if (!format || settings::FlagNameOf(*format).empty()) return;

  const Settings s = settings::Snapshot();
  if (settings::FlaggedFormat(s) != *format ||
      s.JPG_Default + s.GIF_Default + s.PNG_Default + s.BMP_Default + s.TIF_Default != 1) {
    // In memory only: the stored output format stays what it was.
    settings::Update([format](Settings& record) { settings::SetOutputFormatFlags(record, *format); });
    settings::OptionHost& options = host.Options();
    options.SetWaitCursor(true);
    options.RefreshCurrentPage();
    options.SetWaitCursor(false);
  }
  const std::string path = chosen.folder + chosen.title + std::string(settings::ExtensionOf(*format));
  if (auto written = WriteImageFile(pages::Pages().CurrentImage(), path); !written)
    TellWriteFailure(path, written.error());
}

}  // namespace pw::output
