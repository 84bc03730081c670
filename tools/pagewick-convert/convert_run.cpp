#include "convert_run.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>

#include "pages/page_set.h"
#include "intake/spool_reader.h"
#include "output/html_gallery_writer.h"
#include "output/image_series_writer.h"
#include "output/pdf_writer.h"
#include "output/write_job.h"
#include "platform/gdi/emf/metafile.h"
#include "platform/msgbox/console_message_box.h"
#include "platform/paths/paths.h"
#include "settings/settings_store.h"
#include "settings/value_names.h"
#include "terminal_view.h"

namespace pw::convert {
namespace {

namespace fs = std::filesystem;

// A private folder for the pages of split spool files, removed at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    const auto temp = platform::TempFolder();
    if (!temp) return;
    std::string pattern = *temp + "convert-XXXXXX";
    if (::mkdtemp(pattern.data())) path_ = pattern + "/";
  }
  ~ScratchFolder() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

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
  char name[16];
  std::snprintf(name, sizeof name, "%04d.emf", index + 1);
  record.file_name = name;
  record.metafile = std::move(metafile);
  pages.SetCount(index + 1);
  return true;
}

// EMF pages as they are; anything else as a spool file split into pages.
LoadResult LoadInputs(const std::vector<std::string>& inputs, const std::string& scratch) {
  LoadResult result;
  for (std::size_t n = 0; n < inputs.size(); ++n) {
    const std::string& input = inputs[n];
    std::error_code ec;
    if (!fs::is_regular_file(input, ec)) return {false, 0, input + ": no such file"};
    if (auto metafile = gdi::Metafile::FromFile(input)) {
      if (!AddPage(std::move(*metafile))) return {false, 0, "more than 2000 pages"};
      continue;
    }
    if (scratch.empty()) return {false, 0, "no private temporary folder for the spool pages"};
    const std::string folder = scratch + std::to_string(n) + "/";
    fs::create_directories(folder, ec);
    const intake::SplitReport split = intake::SplitSpoolFileInto(input, 1, folder);
    if (!split.parsed) return {false, 0, input + ": neither an EMF page nor an EMF spool file"};
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder, ec))
      if (entry.path().extension() == ".emf") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    result.failed_pages += std::max(0, split.pages_seen - static_cast<int>(files.size()));
    for (const fs::path& file : files) {
      auto metafile = gdi::Metafile::FromFile(file);
      if (!metafile) {
        ++result.failed_pages;
        continue;
      }
      if (!AddPage(std::move(*metafile))) return {false, 0, "more than 2000 pages"};
    }
  }
  if (pages::Pages().Count() == 0) return {false, result.failed_pages, "no pages in the input"};
  return result;
}

// The settings of this run: the stored ones with the command line's edits.
// They are stored only when --save-settings asks for it.
settings::Settings RunSettings(const ConvertOptions& o) {
  settings::LoadSettings();
  settings::Settings s = settings::Snapshot();
  for (const SettingEdit& e : o.edits) {
    e.edit(s);
    if (o.save_settings && !e.value_name.empty()) settings::ChangeAndStore(e.edit, {e.value_name});
  }
  if (o.series_format) {
    const std::string& f = *o.series_format;
    const output::FormatFlags flags{f == "jpg", f == "gif", f == "png", f == "bmp", f == "tif"};
    s.JPG_Default = flags.jpg;
    s.GIF_Default = flags.gif;
    s.PNG_Default = flags.png;
    s.BMP_Default = flags.bmp;
    s.TIF_Default = flags.tif;
    if (o.save_settings) output::StoreFormatFlags(flags);
  }
  if (o.pdf_inside && o.save_settings) settings::WriteUserString(settings::kPdfBitmpFormat, *o.pdf_inside);
  s.KodMultipageFormat = o.kind == TargetKind::Pdf ? 1 : 0;
  return s;
}

// DIR/BASE for a series or gallery; for a PDF the file, ".pdf" optional.
std::optional<output::SaveTarget> TargetOf(const ConvertOptions& o, std::string& error) {
  fs::path target(o.target);
  if (o.kind == TargetKind::Pdf && target.extension() == ".pdf") target.replace_extension();
  const std::string base = target.filename().string();
  if (base.empty() || base == "." || base == "..") {
    error = o.target + ": the target needs a base name";
    return std::nullopt;
  }
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (!fs::is_directory(folder, ec)) {
    error = folder.string() + ": the folder cannot be made";
    return std::nullopt;
  }
  return output::SaveTarget{fs::absolute(folder).lexically_normal().string() + "/", base};
}

}  // namespace

int RunConvert(const ConvertOptions& o) {
  platform::SetMessageBoxHost(std::make_shared<platform::ConsoleMessageBoxHost>(std::cerr, o.answers));

  const settings::Settings run_settings = RunSettings(o);
  std::string error;
  const auto target = TargetOf(o, error);
  if (!target) {
    std::cerr << "pagewick-convert: " << error << "\n";
    return kUsageOrInputError;
  }

  ScratchFolder scratch;
  pages::PageSet& pages = pages::Pages();
  const LoadResult loaded = LoadInputs(o.inputs, scratch.path());
  if (!loaded.ok) {
    std::cerr << "pagewick-convert: " << loaded.error << "\n";
    pages.Clear();
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

  output::Writer writer = output::WriteImageSeries;
  if (o.kind == TargetKind::Pdf) writer = output::WriteMultipagePdf;
  if (o.kind == TargetKind::Gallery) writer = output::WriteHtmlGallery;
  const output::WriteOutcome outcome = writer(job);
  job.render_view.reset();
  terminal.reset();

  const int count = pages.Count();
  pages.Clear();
  if (show_progress) std::cerr << "pagewick-convert: " << count << " pages to " << target->folder << target->base_name << "\n";
  if (!outcome.complete || loaded.failed_pages > 0) return kSomePagesFailed;
  return kConvertOk;
}

}  // namespace pw::convert
