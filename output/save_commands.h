#pragma once
// The save and send commands of the menus, keys and command panel: each
// asks for a target, settles the output format and its options, stores the
// choices and starts one writer run on the writer thread. "Send to..." and
// "Save to..." act on the current page alone, on the calling thread. All
// run on the user-interface thread and return without waiting for a run.
#include <string>
#include <string_view>
#include <vector>

#include "output/save_host.h"

namespace pw::output {

inline constexpr const char* kReplaceQuestion = " already exists. Replace?";
inline constexpr const char* kReplaceCaption = "Save As";
inline constexpr const char* kGifNotSupported = "GIF not supported!";
// Above this the series save refuses a name before any run; the writer's
// own limit (kMaxOutputPath) counts the files it really writes.
inline constexpr std::size_t kMaxFirstSeriesName = 146;

// The five filters of the image save dialogs, in filter-index order.
std::vector<FileFilter> ImageFilters();

// The document name up to, not including, its first ".".
std::string DocumentBaseName(std::string_view document_name);

// The chosen path split as the dialogs give it: the folder with its
// trailing '/', and the file title (the file name less its extension).
struct ChosenPath {
  std::string folder;
  std::string title;
};
ChosenPath SplitChosenPath(std::string_view path);

// "Current resolution %d dpi is too small for PDF..." with `dpi` cut to a
// whole number.
std::string PdfResolutionQuestion(double dpi);

// "Save to Disk": an image series.
void SaveImageSeries(SaveHost& host);
// "Save to Multipaged PDF".
void SaveMultipagePdf(SaveHost& host);
// "Save files with HTML".
void SaveHtmlGallery(SaveHost& host);
// "Send E-Mail": does nothing without a current page.
void SendByEmail(SaveHost& host);
// "Send to...": the current page as one attachment.
void SendCurrentPage(SaveHost& host);
// "Save to...": the current page as one file.
void SaveCurrentPage(SaveHost& host);

}  // namespace pw::output
