#pragma once
// The capture load: the worker thread that brings a capture into the page
// set, from the clipboard, from the capture printer's spool file, or in
// Quick Start Reference mode from the sample pages of the install folder.
// It measures the display resolution, makes every page's thumbnail and
// places it in the strip, and renders the first page into the page view.
#include <cstddef>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include <tl/expected.hpp>

#include "intake/load_view.h"
#include "platform/clipboard/clipboard_store.h"

namespace pw::render {
class RenderView;
}

namespace pw::intake {

inline constexpr std::string_view kExpectedDocumentPrefix = "Microsoft Word - ";
inline constexpr std::string_view kClipboardPageName = "0001.emf";

// What the user-interface thread gathers for the load before it starts.
struct CaptureInput {
  // The desktop clipboard's metafile, read only when the handshake says the
  // capture came through the clipboard. Without one the load takes the
  // program's own clipboard store.
  tl::expected<std::vector<std::byte>, clipboard::ClipboardProblem> desktop_clipboard =
      tl::unexpected(clipboard::ClipboardProblem::Empty);
  // Files the user named, EMF pages and spool files: when there are any
  // they are the capture, and the handshake, the clipboard and the capture
  // printer are left alone. The files themselves are never deleted.
  std::vector<std::string> files;
};

struct CaptureLoadOptions {
  LoadView* view = nullptr;                 // required
  render::RenderView* render_view = nullptr;  // progress of the first page's render; may be null
  std::stop_token stop;                     // asked between pages
  CaptureInput input;
};

// ceil(pixels / (millimetres in inches)); 96 when the size is unknown.
int DisplayResolutionOf(const std::optional<DisplayExtent>& display);

// The strip position of a thumbnail of `width` x `height`: centred across
// the strip; the first 5 pixels below a 140-pixel cell's centre line, each
// later one 24 pixels below the one before (`previous_y`, `previous_height`).
struct ThumbnailPlace {
  int x = 0;
  int y = 0;
};
ThumbnailPlace PlaceThumbnail(const ViewRect& strip, int width, int height,
                              std::optional<ThumbnailPlace> previous, int previous_height);

// "Microsoft Word - " followed by the document name, in full however long.
std::string ExpectedDocumentName(std::string_view document_name);

// The sample folder: the install folder ("InstallPath", else the default
// install folder) followed by "emf/".
std::string SampleFolder();

// "%04d.emf" of a page's place counting from 1: the name a page from the
// user's files is kept under, whose number the writers take.
std::string NumberedPageName(int index);

// What the load shows when some of the user's files gave no pages or not
// all of them: one line per file.
std::string FileProblemsMessage(const std::vector<std::string>& problems);

// The thread procedure: runs the whole load and returns 0.
int LoadCapture(const CaptureLoadOptions& options);

// Starts LoadCapture on a worker thread of its own; false when a load is
// already running or the view is missing.
bool StartCaptureLoad(LoadView* view, render::RenderView* render_view = nullptr, CaptureInput input = {});

// Asks a running load to stop after its current page and waits for it, so
// the page set may be emptied safely. Does nothing when none runs.
void StopCaptureLoad();

// Stops a running load, then releases every page: what the main window does
// when it is destroyed.
void ReleasePages();

// Whether a load thread is still running.
bool CaptureLoadRunning();

// Asks a running load to stop after its current page, without waiting.
void RequestStopCaptureLoad();

// Waits until a running load has ended by itself.
void WaitForCaptureLoad();

// The message shown once when the folder held more pages than the page set.
std::string PagesNotLoadedMessage(int not_loaded);

}  // namespace pw::intake
