#pragma once
// lvFrameWin: the program's only top-level window.
//
//   +--------------------------------------------------------------+
//   | buttons | page view (7, 7, cx - 173, cy - 32)   | thumbnails |
//   |         |                                       | strip      |
//   |         +---------------------------------------+ (cx - 163) |
//   |         | status line                           |            |
//   +--------------------------------------------------------------+
//
// The frame owns the page view, the thumbnail strip and the command panel,
// draws the chrome and the status line, lays its children out, routes the
// accelerators, the wheel and every menu and button command through its
// command table, pages through the document and cleans up on close.
#include <QFont>
#include <QRect>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/command_table.h"

class QMimeData;
class QPainter;

namespace pw::intake {
class LoadView;
}

namespace pw::ui {

class CommandPanel;
class FrameLoadView;
class FrameWriterView;
class PageView;
class ThumbnailStrip;

inline constexpr const char* kFrameTitle = "Tavrin Pagewick";

class lvFrameWin final : public QWidget {
 public:
  // Constructs the frame object with its children; the window itself is
  // made by createWindow.
  lvFrameWin();
  ~lvFrameWin() override;

  lvFrameWin(const lvFrameWin&) = delete;
  lvFrameWin& operator=(const lvFrameWin&) = delete;

  // Makes the window with the main window class (arrow cursor, menu-colour
  // background, icon 128) and title, at (x, y) with the given size; the
  // position is that of the outer frame, the size that of the window.
  void createWindow(int x, int y, int width, int height);

  // Shows the window (maximized when asked) and paints it at once.
  void showAsStarted(bool maximized);

  // The page view's rectangle in frame client coordinates.
  QRect pageViewRect() const;

  // The status line's band, in frame client coordinates.
  QRect statusLineRect() const;

  // Takes the current page image again and repaints the page view.
  void invalidatePageView();

  // The copy of the variable-pitch system font used by the status line,
  // the thumbnail captions and the tip of the day.
  const QFont& frameFont() const { return font_; }

  // Every command of the menus, the accelerators and the buttons runs
  // through this table; other parts of the program install their
  // operations here. Navigation, Esc and the exit are installed already.
  CommandTable& commands() { return commands_; }

  // Runs a command as a menu, key or button does: the e-mail command only
  // while there is a current page.
  void runCommand(int id, CommandSource source = CommandSource::MenuOrButton);

  // Renders page `index` at the current resolution and shows it: a click in
  // the strip, next and previous page.
  void showPage(int index);
  void nextPage();
  void previousPage();

  // Leaves the program and brings the word processor back to the front.
  void exitToWord();

  // Finds a top-level window by its exact title and brings it to the front;
  // true when one was found. Without it no window is ever found.
  void setWindowRaiser(std::function<bool(const std::string& title)> raiser) { raiser_ = std::move(raiser); }

  // Renders every thumbnail again, as leaving Quick Start Reference mode
  // asks. Set by the option commands.
  void setThumbnailRerender(std::function<void()> rerender) { rerender_thumbnails_ = std::move(rerender); }

  // The view the capture load draws into.
  intake::LoadView& loadView();

  // The view a writer run shows itself in; it outlives the frame safely.
  std::shared_ptr<FrameWriterView> writerView() const { return writer_view_; }

  // While a run writes: the status line says which page of how many; gone
  // again, and the current page back in the page view, when it ends.
  void showRunProgress(int index, int count);
  void endRunProgress();
  std::optional<std::pair<int, int>> runProgress() const { return run_progress_; }

  PageView* pageView() const { return page_view_; }
  ThumbnailStrip* strip() const { return strip_; }
  CommandPanel& panel() { return *panel_; }

  // Frees the page set's metafiles: the first destroy step. Set by whoever
  // owns the page set; without it there is nothing to free.
  void setReleasePages(std::function<void()> release) { release_pages_ = std::move(release); }

  // Tells whether the capture load still runs and asks it to stop; a close
  // that comes while it runs waits for it without blocking (the load may be
  // waiting for an answer from this thread). Without them a close never waits.
  void setLoadControl(std::function<bool()> running, std::function<void()> request_stop);

  // Files dropped on the window, as local paths in the order given. Without
  // it the window takes no drops.
  void setOnFilesDropped(std::function<void(const std::vector<std::string>& files)> opened);

  // Called once the destroy steps have run.
  void setOnDestroyed(std::function<void()> on_destroyed) { on_destroyed_ = std::move(on_destroyed); }

  bool isDestroyed() const { return destroyed_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void installNavigation();
  void installAccelerators();
  void applyLayout();
  void wheelAt(QPoint frame_point, int delta);
  void clickButton(int index, QPoint at);
  void showOptionsPopup(QWidget* button, QPoint at);
  void popupAt(int popup_index, QWidget* owner, QPoint at);
  // Leaving Quick Start Reference mode from the Options button.
  void leaveQuickStartReference();
  void paintStatusLine(QPainter& painter);
  // The destroy steps: pages freed, placement stored, work folder emptied.
  // Run once, on close or, failing that, when the object goes.
  void runDestroySteps();

  QFont font_;
  CommandTable commands_;
  PageView* page_view_ = nullptr;  // children: owned by the widget tree
  ThumbnailStrip* strip_ = nullptr;
  std::unique_ptr<CommandPanel> panel_;
  std::unique_ptr<FrameLoadView> load_view_;
  std::shared_ptr<FrameWriterView> writer_view_;
  std::optional<std::pair<int, int>> run_progress_;  // page index, page count
  std::function<bool(const std::string&)> raiser_;
  std::function<void()> rerender_thumbnails_;
  std::function<void()> release_pages_;
  std::function<bool()> load_running_;
  std::function<void()> stop_load_;
  std::function<void()> on_destroyed_;
  std::function<void(const std::vector<std::string>&)> files_dropped_;
  bool closing_ = false;
  bool destroyed_ = false;
};

// The local files among dragged data (links to other places are left out).
std::vector<std::string> LocalFilesOf(const QMimeData* data);

}  // namespace pw::ui
