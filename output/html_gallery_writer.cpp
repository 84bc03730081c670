#include "output/html_gallery_writer.h"

#include <cctype>
#include <filesystem>
#include <vector>
#include <optional>
#include <system_error>

#include "output/file_naming.h"
#include "output/gallery_pages.h"
#include "output/image_file.h"
#include "output/output_run.h"
#include "output/pending_writes.h"
#include "platform/files/file_writing.h"
#include "platform/msgbox/message_box.h"
#include "platform/shell/shell_open.h"

namespace pw::output {
namespace {

namespace fs = std::filesystem;
using platform::MessageBox;
using platform::MessageButtons;
using platform::MessageIcon;
using platform::MessageOwner;

void AppMessage(const std::string& text) {
  MessageBox(MessageOwner::MainWindow, text, kApplicationCaption, MessageButtons::Ok, MessageIcon::Warning);
}


// A name a gallery writes into its folder: the two frame pages, and a page
// image or thumbnail (four digits, "_" for a thumbnail, an image extension).
bool IsGalleryFileName(const std::string& name) {
  if (name == "header.html" || name == "bottoms.html") return true;
  const auto dot = name.find('.');
  if (dot != 4 && dot != 5) return false;
  for (std::size_t i = 0; i < 4; ++i)
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
  if (dot == 5 && name[4] != '_') return false;
  const std::string extension = name.substr(dot);
  return extension == ".jpg" || extension == ".gif" || extension == ".png" || extension == ".bmp";
}

// Removes an earlier gallery folder so that the new gallery starts afresh.
// Only a folder that holds nothing but gallery files is touched: one that
// holds anything else (a browser's saved page, the user's own files, a
// subfolder) is left whole, and the gallery cannot be made there.
void RemoveOldGallery(const std::string& folder) {
  std::error_code ec;
  if (!fs::is_directory(fs::symlink_status(folder, ec))) return;
  std::vector<fs::path> own;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    std::error_code entry_ec;
    if (fs::is_directory(entry.symlink_status(entry_ec)) || !IsGalleryFileName(entry.path().filename().string()))
      return;
    own.push_back(entry.path());
  }
  if (ec) return;
  for (const fs::path& file : own) fs::remove(file, ec);
  fs::remove(folder, ec);
}

// bottoms.html gains a line as each page's thumbnail is written, and is put
// in place when the run ends, however it ends, with the lines it has by then.
struct BottomsFile {
  std::optional<files::ReplacementFile> file;

  explicit BottomsFile(const std::string& path) {
    if (auto begun = files::ReplacementFile::Begin(path)) file = std::move(*begun);
  }
  ~BottomsFile() { Close(); }
  // True when the file is in place with every line added to it.
  bool Close() {
    const bool committed = file && file->Commit();
    file.reset();
    return committed;
  }
  void Add(std::string_view text) {
    if (file && !file->Write(text)) file.reset();
  }
};

Magick::Image FittedThumbnail(Magick::Image image) {
  Magick::Geometry box(kGalleryThumbnailSide, kGalleryThumbnailSide);
  image.scale(box);
  return image;
}

}  // namespace

WriteOutcome WriteHtmlGallery(const WriteJob& job) {
  pages::PageSet& pages = pages::Pages();
  const SaveTarget& target = job.target;
  const std::string extension = GalleryExtension(job.flags);
  const std::string gallery_file = target.folder + "/" + target.base_name + ".html";
  const std::string folder = target.folder + "/" + target.base_name + "_files/";
  WaitCursorScope wait(job.view);
  WriteOutcome outcome;
  // What a run killed while writing here left beside its files goes first.
  files::RemoveStaleTemporaries(job.target.folder, job.target.base_name);
  const auto stopped = [&outcome](int code) {
    outcome.exit_code = code;
    return outcome;
  };

  RemoveOldGallery(folder);
  std::error_code ec;
  if (!fs::create_directory(folder, ec)) {
    if (folder.size() > kMaxOutputPath) {
      MessageBox(MessageOwner::MainWindow, kNameTooLong, platform::kMessageCaption, MessageButtons::Ok);
      return stopped(-1);
    }
    MessageBox(MessageOwner::MainWindow, "Error 0009836", "Tavrin Pagewick message", MessageButtons::Ok);
    return outcome;
  }

  bool whole = true;
  const auto tell = [&whole](const std::string& text) {
    whole = false;
    AppMessage(text);
  };
  if (!files::ReplaceFile(gallery_file, GalleryFileText(target.base_name, extension)))
    tell("HTML file is not created!");
  if (!files::ReplaceFile(folder + "header.html", HeaderPageText(target.base_name)))
    tell("header.html file is not created!\nError 00012934");
  BottomsFile bottoms(folder + "bottoms.html");
  if (bottoms.file) {
    bottoms.Add(BottomsHeadText(target.base_name));
  } else {
    tell("bottoms.html file not created!\nError 00065482");
  }

  // Pages and thumbnails are encoded in the background and written in page
  // order; each page's line in bottoms.html follows its thumbnail's file.
  PendingWrites pending;
  const int count = pages.Count();
  for (int i = 0; i < count; ++i) {
    if (Run().abort_requested.load()) {
      if (auto failed = pending.FinishAll()) return stopped(TellRunFailure(*failed));  // the pages in hand are finished first
      if (UserAbortsRun()) {
        outcome.aborted = true;
        return outcome;
      }
    }
    const std::string number = PageNumberOf(pages.Record(i).file_name, i);

    auto page = pages::RenderPageOfSet(job.Render(i));
    if (!page) return stopped(TellRunFailure(pending.FinishBefore(pages::RenderFailureText(i, page.error().message))));
    if (job.view) job.view->PageWriting(i, count, page->image);
    if (auto failed = pending.Start(std::move(page->image), folder + number + extension, {}))
      return stopped(TellRunFailure(*failed));

    pages::PageRender thumbnail_render = job.Render(i, pages::RenderPurpose::WriterThumbnail);
    thumbnail_render.resolution = kGalleryThumbnailDpi;
    auto thumbnail = pages::RenderPageOfSet(thumbnail_render);
    if (!thumbnail)
      return stopped(TellRunFailure(pending.FinishBefore(pages::RenderFailureText(i, thumbnail.error().message))));
    const std::string thumbnail_path = folder + number + "_" + extension;
    Magick::Image fitted;
    try {
      fitted = FittedThumbnail(std::move(thumbnail->image));
    } catch (const Magick::Exception& error) {
      return stopped(TellRunFailure(pending.FinishBefore(WriteFailureText(thumbnail_path, error.what()))));
    }
    const auto entry = [&bottoms, &outcome, number, extension](const std::string&, const Magick::Blob&) {
      bottoms.Add(BottomsEntryText(number, extension));
      ++outcome.pages_written;
    };
    if (auto failed = pending.Start(std::move(fitted), thumbnail_path, entry)) return stopped(TellRunFailure(*failed));
  }
  if (auto failed = pending.FinishAll()) return stopped(TellRunFailure(*failed));

  bottoms.Add(BottomsTailText());
  outcome.complete = bottoms.Close() && whole;
  if (job.start_file) platform::ShellOpen(gallery_file);
  return outcome;
}

}  // namespace pw::output
