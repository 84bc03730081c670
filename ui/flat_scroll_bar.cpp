#include "ui/flat_scroll_bar.h"

#include <optional>

namespace pw::ui {
namespace {

// Blue track (0x0000FF on screen), lilac thumb and arrow buttons, no
// bevels: the flat look of the desktop's flat scroll bars.
const char* kStyle =
    "QScrollBar { background: #0000ff; border: none; margin: 12px; }"
    "QScrollBar::handle { background: #e0e0f8; border: 1px solid #716db9; }"
    "QScrollBar::add-line, QScrollBar::sub-line { background: #e0e0f8; border: 1px solid #716db9; }"
    "QScrollBar:vertical { width: 12px; margin: 12px 0 12px 0; }"
    "QScrollBar:horizontal { height: 12px; margin: 0 12px 0 12px; }"
    "QScrollBar::handle:vertical { min-height: 8px; }"
    "QScrollBar::handle:horizontal { min-width: 8px; }"
    "QScrollBar::add-line:vertical { height: 12px; subcontrol-position: bottom; subcontrol-origin: margin; }"
    "QScrollBar::sub-line:vertical { height: 12px; subcontrol-position: top; subcontrol-origin: margin; }"
    "QScrollBar::add-line:horizontal { width: 12px; subcontrol-position: right; subcontrol-origin: margin; }"
    "QScrollBar::sub-line:horizontal { width: 12px; subcontrol-position: left; subcontrol-origin: margin; }"
    "QScrollBar::add-page, QScrollBar::sub-page { background: none; }";

std::optional<ScrollRequest> RequestOf(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: return ScrollRequest::LineDown;
    case QAbstractSlider::SliderSingleStepSub: return ScrollRequest::LineUp;
    case QAbstractSlider::SliderPageStepAdd: return ScrollRequest::PageDown;
    case QAbstractSlider::SliderPageStepSub: return ScrollRequest::PageUp;
    case QAbstractSlider::SliderMove: return ScrollRequest::ThumbTrack;
    case QAbstractSlider::SliderToMinimum: return ScrollRequest::Top;
    case QAbstractSlider::SliderToMaximum: return ScrollRequest::Bottom;
    default: return std::nullopt;
  }
}

}  // namespace

FlatScrollBar::FlatScrollBar(Qt::Orientation orientation, QWidget* parent,
                             std::function<void(ScrollRequest, int)> request)
    : QScrollBar(orientation, parent), request_(std::move(request)) {
  setStyleSheet(QString::fromLatin1(kStyle));
  setFocusPolicy(Qt::NoFocus);
  setRange(0, 0);
  setTracking(true);
  hide();
  connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) {
    const std::optional<ScrollRequest> asked = RequestOf(action);
    if (!asked) return;
    const int thumb = sliderPosition();
    // The owner sets the position it decides on; until then the bar stays.
    setSliderPosition(value());
    request_(*asked, thumb);
  });
}

}  // namespace pw::ui
