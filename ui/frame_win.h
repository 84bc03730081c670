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
// For now the frame is the window with its placement, its font and its
// clean-up; the page view, the strip and the command panel join it later
// and are laid out in the rectangles above.
#include <QFont>
#include <QRect>
#include <QWidget>

#include <functional>

namespace pw::ui {

inline constexpr const char* kFrameTitle = "Tavrin Pagewick";

class lvFrameWin final : public QWidget {
 public:
  // Constructs the frame object; the window itself is made by createWindow.
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

  // Repaints the page view's area, erasing it first.
  void invalidatePageView();

  // The copy of the variable-pitch system font used by the status line,
  // the thumbnail captions and the tip of the day.
  const QFont& frameFont() const { return font_; }

  // Frees the page set's metafiles: the first destroy step. Set by whoever
  // owns the page set; without it there is nothing to free.
  void setReleasePages(std::function<void()> release) { release_pages_ = std::move(release); }

  // Called once the destroy steps have run.
  void setOnDestroyed(std::function<void()> on_destroyed) { on_destroyed_ = std::move(on_destroyed); }

  bool isDestroyed() const { return destroyed_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // The destroy steps: pages freed, placement stored, work folder emptied.
  // Run once, on close or, failing that, when the object goes.
  void runDestroySteps();

  QFont font_;
  std::function<void()> release_pages_;
  std::function<void()> on_destroyed_;
  bool destroyed_ = false;
};

}  // namespace pw::ui
