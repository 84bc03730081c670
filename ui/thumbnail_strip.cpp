#include "ui/thumbnail_strip.h"

#include "pages/page_set.h"
#include "ui/flat_scroll_bar.h"
#include "ui/frame_colours.h"
#include "ui/frame_layout.h"
#include "ui/hand_cursor.h"
#include "ui/strip_rules.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace pw::ui {
namespace {

ThumbBox BoxOf(const pages::PageRecord& record) {
  return {record.thumb_x, record.thumb_y, record.thumb_width, record.thumb_height};
}

std::vector<ThumbBox> CountedBoxes() {
  const pages::PageSet& pages = pages::Pages();
  const int count = pages.Count();
  std::vector<ThumbBox> boxes;
  boxes.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) boxes.push_back(BoxOf(pages.Record(i)));
  return boxes;
}

}  // namespace

ThumbnailStrip::ThumbnailStrip(QWidget* parent, const QFont& font, std::function<void(int)> show_page,
                               std::function<void()> mouse_moved)
    : QWidget(parent), font_(font), show_page_(std::move(show_page)), mouse_moved_(std::move(mouse_moved)) {
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  bar_ = new FlatScrollBar(Qt::Vertical, this, [this](ScrollRequest request, int thumb) { scroll(request, thumb); });
  bar_->show();
}

int ThumbnailStrip::barWidth() const { return kFlatBarWidth; }

QRect ThumbnailStrip::client() const { return QRect(0, 0, std::max(0, width() - barWidth()), height()); }

void ThumbnailStrip::setScrollRange(int minimum, int maximum) {
  bar_->setRange(minimum, maximum);
}

void ThumbnailStrip::scroll(ScrollRequest request, int thumb) {
  const pages::PageSet& pages = pages::Pages();
  const int count = pages.Count();
  if (count <= 0) return;
  const int maximum = StripScrollMaximum(BoxOf(pages.Record(count - 1)), client().bottom() + 1);
  const StripScroll step = ScrollStrip(request, position_, maximum, bar_->minimum(), bar_->maximum(), thumb);
  if (!step.changed) return;
  position_ = step.position;
  bar_->setValue(step.bar_position);
  update();
}

void ThumbnailStrip::resetScroll() {
  position_ = 0;
  bar_->setValue(0);
  update();
}

void ThumbnailStrip::resizeEvent(QResizeEvent*) {
  bar_->setGeometry(width() - barWidth(), 0, barWidth(), height());
}

void ThumbnailStrip::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), kPanelFill);
  painter.setFont(font_);
  painter.setPen(kStatusText);
  const pages::PageSet& pages = pages::Pages();
  const int count = pages.Count();
  const int current = pages.Current();
  const QRect area = client();
  for (int i = 0; i < count; ++i) {
    const pages::PageRecord& record = pages.Record(i);
    const int x = record.thumb_x;
    const int y = record.thumb_y - position_;
    if (y > area.bottom() || y + record.thumb_height + kCaptionHeight < 0) continue;
    painter.drawImage(QRect(x, y, record.thumb_width, record.thumb_height), record.thumbnail);
    if (i == current) {
      painter.save();
      painter.setPen(kCurrentPageFrame);
      painter.setBrush(Qt::NoBrush);
      // Edges of (x - 1, y - 1) to (x + w + 1, y + h + 1), then one further out.
      painter.drawRect(x - 1, y - 1, record.thumb_width + 1, record.thumb_height + 1);
      painter.drawRect(x - 2, y - 2, record.thumb_width + 3, record.thumb_height + 3);
      painter.restore();
    }
    const QRect caption(area.left(), y + record.thumb_height, area.width(), kCaptionHeight);
    painter.drawText(caption, Qt::AlignCenter | Qt::TextSingleLine,
                     QString::fromStdString(ThumbnailCaption(record.file_name)));
  }
}

std::optional<int> ThumbnailStrip::thumbnailAt(QPoint point) const {
  const std::vector<ThumbBox> boxes = CountedBoxes();
  return ThumbnailAt(boxes, point, position_);
}

void ThumbnailStrip::mouseMoveEvent(QMouseEvent* event) {
  if (mouse_moved_) mouse_moved_();
  if (thumbnailAt(event->position().toPoint())) {
    setCursor(HandCursor());
  } else {
    setCursor(Qt::ArrowCursor);
  }
}

void ThumbnailStrip::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const std::optional<int> hit = thumbnailAt(event->position().toPoint());
  if (!hit) return;
  const int count = pages::Pages().Count();
  if (show_page_) show_page_(std::min(*hit, count - 1));
  setCursor(HandCursor());
}

}  // namespace pw::ui
