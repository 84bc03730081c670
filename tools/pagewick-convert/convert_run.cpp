#include "convert_run.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <vector>

#include "pages/page_set.h"
#include "intake/capture_load.h"
#include "intake/page_files.h"
#include "output/html_gallery_writer.h"
#include "output/image_series_writer.h"
#include "output/pdf_writer.h"
#include "output/write_job.h"
#include "platform/gdi/emf/metafile.h"
#include "platform/msgbox/console_message_box.h"
#include "settings/settings_store.h"
#include "settings/value_names.h"
#include "terminal_view.h"

namespace pw::convert {
namespace {

namespace fs = std::filesystem;

struct LoadResult {
  bool ok = true;
  int failed_pages = 0;
  std::string error;
};

bool AddPage(gdi::Metafile metafile) {
  pages::PageSet& pages = pages::Pages();
  const int index = pages.Count();
  if (index >= pages::kMaxPages) return false;
  pages::PageRecord& record = pages.Record(index);
  record.file_name = intake::NumberedPageName(index);
  record.metafile = std::move(metafile);
  pages.SetCount(index + 1);
  return true;
}

// EMF pages as they are; anything else as a spool file split into pages in
// memory. Spool pages that could not be read are told and counted.
LoadResult LoadInputs(const std::vector<std::string>& inputs) {
  LoadResult result;
  for (const std::string& input : inputs) {
    intake::FilePages file = intake::ReadPageFile(input);
    if (file.unusable) return {false, 0, file.problem};
    if (!file.problem.empty()) {
      result.failed_pages += file.lost;
      std::cerr << "pagewick-convert: " << file.problem << "\n";
    }
    for (gdi::Metafile& page : file.pages)
      if (!AddPage(std::move(page))) return {false, 0, "more than 2000 pages"};
  }
  if (pages::Pages().Count() == 0) return {false, result.failed_pages, "no pages in the input"};
  return result;
}

// The settings of this run: the stored ones with the command line's edits.
// They are stored only when --save-settings asks for it.
settings::Settings RunSettings(const ConvertOptions& o, bool& stored) {
  settings::LoadSettings();
  settings::Settings s = settings::Snapshot();
  stored = true;
  for (const SettingEdit& e : o.edits) {
    e.edit(s);
    if (o.save_settings && !e.value_name.empty()) stored = settings::ChangeAndStore(e.edit, {e.value_name}) && stored;
  }
  if (o.series_format) {
    const std::string& f = *o.series_format;
    const output::FormatFlags flags{f == "jpg", f == "gif", f == "png", f == "bmp", f == "tif"};
    s.JPG_Default = flags.jpg;
    s.GIF_Default = flags.gif;
    s.PNG_Default = flags.png;
    s.BMP_Default = flags.bmp;
    s.TIF_Default = flags.tif;
    if (o.save_settings) stored = output::StoreFormatFlags(flags) && stored;
  }
  if (o.pdf_inside && o.save_settings)
    stored = settings::WriteUserString(settings::kPdfBitmpFormat, *o.pdf_inside) && stored;
  s.KodMultipageFormat = o.kind == TargetKind::Pdf ? 1 : 0;
  return s;
}

// The folders a run makes for its target, removed again (when still empty)
// if the run writes nothing there.
class MadeFolders {
 public:
  // Makes `folder` and its missing parents; false when it is no folder then.
  bool Make(const fs::path& folder) {
    std::error_code ec;
    for (fs::path f = fs::absolute(folder, ec).lexically_normal(); !f.empty() && !fs::exists(f, ec);
         f = f.parent_path()) {
      made_.push_back(f);
      if (f == f.parent_path()) break;
    }
    fs::create_directories(folder, ec);
    return fs::is_directory(folder, ec);
  }
  // Deepest first; a folder that holds anything stays.
  void RemoveEmpty() {
    std::error_code ec;
    for (const fs::path& f : made_)
      if (fs::is_empty(f, ec)) fs::remove(f, ec);
  }

 private:
  std::vector<fs::path> made_;
};

// DIR/BASE for a series or gallery; for a PDF the file, ".pdf" optional.
std::optional<output::SaveTarget> TargetOf(const ConvertOptions& o, MadeFolders& made, std::string& error) {
  fs::path target(o.target);
  if (o.kind == TargetKind::Pdf && target.extension() == ".pdf") target.replace_extension();
  const std::string base = target.filename().string();
  if (base.empty() || base == "." || base == "..") {
    error = o.target + ": the target needs a base name";
    return std::nullopt;
  }
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  if (!made.Make(folder)) {
    error = folder.string() + ": the folder cannot be made";
    return std::nullopt;
  }
  std::error_code ec;
  return output::SaveTarget{fs::absolute(folder, ec).lexically_normal().string() + "/", base};
}

}  // namespace

int RunConvert(const ConvertOptions& o) {
  platform::SetMessageBoxHost(std::make_shared<platform::ConsoleMessageBoxHost>(std::cerr, o.answers));

  bool settings_stored = true;
  const settings::Settings run_settings = RunSettings(o, settings_stored);
  pages::PageSet& pages = pages::Pages();
  const LoadResult loaded = LoadInputs(o.inputs);
  if (!loaded.ok) {
    std::cerr << "pagewick-convert: " << loaded.error << "\n";
    pages.Clear();
    return kUsageOrInputError;
  }
  std::string error;
  MadeFolders made;
  const auto target = TargetOf(o, made, error);
  if (!target) {
    std::cerr << "pagewick-convert: " << error << "\n";
    pages.Clear();
    made.RemoveEmpty();
    return kUsageOrInputError;
  }

  const bool show_progress = !o.quiet && ::isatty(STDERR_FILENO);
  auto terminal = o.quiet ? nullptr : std::make_shared<TerminalView>(pages.Count(), show_progress);
  output::WriteJob job = output::WriteJobFrom(
      run_settings, o.pdf_inside.value_or(settings::ReadUserString(settings::kPdfBitmpFormat).value_or(std::string())));
  job.target = *target;
  job.start_file = false;  // a converter opens nothing
  job.render_view = terminal;
  job.threads = o.threads;
  job.preview = false;     // no status line shows a preview
  // A PDF's pages go straight from the encoder into the document: the run
  // shares no work folder with the window or another run.
  job.keep_inside_files = false;

  output::Writer writer = output::WriteImageSeries;
  if (o.kind == TargetKind::Pdf) writer = output::WriteMultipagePdf;
  if (o.kind == TargetKind::Gallery) writer = output::WriteHtmlGallery;
  const output::WriteOutcome outcome = writer(job);
  job.render_view.reset();
  terminal.reset();

  const int count = pages.Count();
  pages.Clear();
  if (outcome.pages_written == 0) made.RemoveEmpty();
  if (!outcome.complete && !outcome.aborted)
    std::cerr << "pagewick-convert: the output is incomplete: " << outcome.pages_written << " of " << count
              << " page(s) written, " << outcome.pages_left_out << " left out\n";
  if (!settings_stored) std::cerr << "pagewick-convert: the settings could not be stored\n";
  if (show_progress && outcome.complete)
    std::cerr << "pagewick-convert: " << count << " pages to " << target->folder << target->base_name << "\n";
  if (!outcome.complete || loaded.failed_pages > 0 || !settings_stored) return kSomePagesFailed;
  return kConvertOk;
}

}  // namespace pw::convert
