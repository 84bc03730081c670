#include "ui/strip_rules.h"

#include <algorithm>
#include <cmath>

namespace pw::ui {

int StripScrollMaximum(const ThumbBox& last, int client_bottom) {
  return static_cast<int>(last.y - client_bottom + last.height * 1.5);
}

StripScroll ScrollStrip(ScrollRequest request, int position, int maximum, int bar_min, int bar_max, int thumb) {
  int next = position;
  switch (request) {
    case ScrollRequest::LineUp:
      if (position > 0) next = std::max(0, position - kStripLineUp);
      break;
    case ScrollRequest::LineDown:
      if (position < maximum) next = std::min(maximum, position + kStripLineDown);
      break;
    case ScrollRequest::PageUp:
      if (position > 0) next = std::max(0, position - kStripPage);
      break;
    case ScrollRequest::PageDown:
      if (position < maximum) next = std::min(maximum, position + kStripPage);
      break;
    case ScrollRequest::ThumbPosition:
    case ScrollRequest::ThumbTrack:
      if (position >= 0 && position <= maximum) {
        const int span = bar_max - bar_min;
        next = span > 0 ? static_cast<int>(std::ceil(static_cast<double>(maximum) / span * thumb)) : 0;
        next = std::clamp(next, 0, std::max(0, maximum));
      }
      break;
    case ScrollRequest::Top:
    case ScrollRequest::Bottom:
    case ScrollRequest::EndScroll:
      break;
  }
  StripScroll result;
  result.changed = next != position;
  result.position = next;
  const int span = bar_max - bar_min;
  if (span > 0 && maximum > 0) {
    const double ratio = static_cast<double>(maximum) / span;
    result.bar_position = std::clamp(static_cast<int>(std::ceil(next / ratio)), bar_min, bar_max);
  }
  return result;
}

std::optional<int> ThumbnailAt(std::span<const ThumbBox> thumbs, QPoint point, int scroll) {
  for (std::size_t i = 0; i < thumbs.size(); ++i) {
    const ThumbBox& t = thumbs[i];
    if (point.x() >= t.x && point.x() <= t.x + t.width && point.y() >= t.y - scroll &&
        point.y() <= t.y + t.height - scroll) {
      return static_cast<int>(i);
    }
  }
  return std::nullopt;
}

std::string ThumbnailCaption(std::string_view file_name) {
  if (file_name.size() <= 4) return {};
  const std::size_t end = file_name.size() - 4;
  const std::size_t begin = end >= 4 ? end - 4 : 0;
  return std::string(file_name.substr(begin, end - begin));
}

bool StripNeedsPageUp(const ThumbBox& last, int scroll, int strip_top) {
  return last.y + last.height - scroll - strip_top <= 10;
}

}  // namespace pw::ui
