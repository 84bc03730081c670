#pragma once
// The thumbnail strip: every page of the page set as a small picture with
// its page number, the current one in a red double frame, scrolled with a
// flat bar; a click shows that page.
#include <QFont>
#include <QWidget>

#include <functional>
#include <optional>

#include "ui/view_scroll.h"

namespace pw::ui {

class FlatScrollBar;
struct ThumbBox;

class ThumbnailStrip final : public QWidget {
 public:
  // `show_page` is the frame's Show page; `mouse_moved` tells the frame (to
  // clear the panel's highlight).
  ThumbnailStrip(QWidget* parent, const QFont& font, std::function<void(int)> show_page,
                 std::function<void()> mouse_moved);

  // The bar's range, set by the load as pages arrive; the bar is not redrawn.
  void setScrollRange(int minimum, int maximum);

  void scroll(ScrollRequest request, int thumb = 0);
  int scrollPosition() const { return position_; }
  // Back to the top, as the exit button leaves the strip.
  void resetScroll();

  int barWidth() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  std::optional<int> thumbnailAt(QPoint point) const;
  // The client area left of the bar.
  QRect client() const;

  QFont font_;
  std::function<void(int)> show_page_;
  std::function<void()> mouse_moved_;
  FlatScrollBar* bar_ = nullptr;  // child: owned by the widget tree
  int position_ = 0;
};

}  // namespace pw::ui
