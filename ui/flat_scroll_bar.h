#pragma once
// The flat scroll bars of the page view and the thumbnail strip: 12 pixels
// wide, a pure blue track, thumb and arrows in the panel's lilac. Each
// request on the bar is reported as a scroll request; the owner decides the
// new position and sets it with setValue.
#include <QScrollBar>

#include <functional>

#include "ui/view_scroll.h"

namespace pw::ui {

class FlatScrollBar final : public QScrollBar {
 public:
  // `request` gets the request and, for thumb moves, the bar position the
  // user asked for.
  FlatScrollBar(Qt::Orientation orientation, QWidget* parent,
                std::function<void(ScrollRequest, int thumb)> request);

 private:
  std::function<void(ScrollRequest, int)> request_;
};

}  // namespace pw::ui
