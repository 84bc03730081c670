#pragma once
// The page view: the current page image at full size, centred where it
// fits, with flat scroll bars where it does not, and the right-click menu
// for the current page.
#include <QImage>
#include <QWidget>

#include <functional>

#include "ui/view_scroll.h"

namespace pw::ui {

class FlatScrollBar;

class PageView final : public QWidget {
 public:
  // `popup` opens the right-click menu at a point in view coordinates;
  // `mouse_moved` tells the frame (to clear the panel's highlight).
  PageView(QWidget* parent, std::function<void(QPoint)> popup, std::function<void()> mouse_moved);

  // Takes the page set's current image again (after a render) and repaints.
  void refresh();

  // Shows another picture until the next refresh: the page a run writes.
  void showImage(QImage image);

  // A scroll request on one axis: the accelerators, the wheel and the bars.
  void scroll(Qt::Orientation orientation, ScrollRequest request, int thumb = 0);

  // Lowers each scroll position to at most the given one, as a page change
  // does, before the new image's bars are fitted.
  void lowerScrollPositions(int horizontal, int vertical);

  const ViewBars& bars() const { return bars_; }
  const QImage& image() const { return image_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  // Fits the bars to the image and the view and places them.
  void fitBars();

  std::function<void(QPoint)> popup_;
  std::function<void()> mouse_moved_;
  FlatScrollBar* horizontal_ = nullptr;  // children: owned by the widget tree
  FlatScrollBar* vertical_ = nullptr;
  ViewBars bars_;
  QImage image_;  // null while no page image is ready
};

}  // namespace pw::ui
