#include "ui/page_view.h"

#include "pages/page_set.h"
#include "render/image_to_bitmap.h"
#include "ui/flat_scroll_bar.h"
#include "ui/frame_colours.h"
#include "ui/frame_layout.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace pw::ui {
namespace {

// The page set's current image as a 32-bit picture; null when the page
// view has nothing to show yet.
QImage CurrentPageImage() {
  const pages::PageSet& pages = pages::Pages();
  if (pages.State() != pages::RenderingState::Ready) return {};
  const int current = pages.Current();
  if (current < 0) return {};
  const Magick::Image image = pages.ImageOfPage(current);
  if (image.columns() == 0 || image.rows() == 0) return {};
  std::optional<gdi::Surface> surface = render::ImageToBitmap(image);
  return surface ? surface->image() : QImage();
}

}  // namespace

PageView::PageView(QWidget* parent, std::function<void(QPoint)> popup, std::function<void()> mouse_moved)
    : QWidget(parent), popup_(std::move(popup)), mouse_moved_(std::move(mouse_moved)) {
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  horizontal_ = new FlatScrollBar(Qt::Horizontal, this, [this](ScrollRequest request, int thumb) {
    scroll(Qt::Horizontal, request, thumb);
  });
  vertical_ = new FlatScrollBar(Qt::Vertical, this, [this](ScrollRequest request, int thumb) {
    scroll(Qt::Vertical, request, thumb);
  });
}

void PageView::refresh() {
  image_ = CurrentPageImage();
  fitBars();
  update();
}

void PageView::showImage(QImage image) {
  image_ = std::move(image);
  fitBars();
  update();
}

void PageView::lowerScrollPositions(int horizontal, int vertical) {
  bars_.horizontal.position = std::min(bars_.horizontal.position, horizontal);
  bars_.vertical.position = std::min(bars_.vertical.position, vertical);
}

void PageView::scroll(Qt::Orientation orientation, ScrollRequest request, int thumb) {
  ScrollAxis& axis = orientation == Qt::Horizontal ? bars_.horizontal : bars_.vertical;
  FlatScrollBar* bar = orientation == Qt::Horizontal ? horizontal_ : vertical_;
  if (!axis.shown) return;
  const int position = ViewScrollPosition(request, axis, thumb);
  if (position == axis.position) return;
  axis.position = position;
  bar->setValue(position);
  // The whole view is drawn again: the image moves under both the area
  // that scrolled and the strip it uncovered.
  update();
}

void PageView::fitBars() {
  bars_ = FitBars(image_.size(), size(), bars_, kFlatBarWidth);
  const QSize client = ClientArea(size(), bars_, kFlatBarWidth);
  horizontal_->setGeometry(0, client.height(), client.width(), kFlatBarWidth);
  vertical_->setGeometry(client.width(), 0, kFlatBarWidth, client.height());
  horizontal_->setRange(0, bars_.horizontal.maximum);
  horizontal_->setPageStep(client.width());
  horizontal_->setValue(bars_.horizontal.position);
  vertical_->setRange(0, bars_.vertical.maximum);
  vertical_->setPageStep(client.height());
  vertical_->setValue(bars_.vertical.position);
  horizontal_->setVisible(bars_.horizontal.shown);
  vertical_->setVisible(bars_.vertical.shown);
}

void PageView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), kPanelFill);
  if (image_.isNull()) return;
  const QSize client = ClientArea(size(), bars_, kFlatBarWidth);
  painter.setClipRect(QRect(QPoint(0, 0), client));
  painter.drawImage(ImageOrigin(image_.size(), size(), bars_), image_);
}

void PageView::resizeEvent(QResizeEvent*) { fitBars(); }

void PageView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton && popup_) popup_(event->position().toPoint());
}

void PageView::mouseMoveEvent(QMouseEvent*) {
  if (mouse_moved_) mouse_moved_();
}

}  // namespace pw::ui
