#include "platform/help/help_request.h"

namespace pw::platform {

HelpRequest SplitHelpRequest(std::string_view text) {
  HelpRequest request;
  std::string_view file = text;
  std::string_view topic;
  if (std::size_t split = text.find("::"); split != std::string_view::npos) {
    file = text.substr(0, split);
    topic = text.substr(split + 2);
  }
  // Only the last path part can carry a window name, so folder names with
  // '>' in them are kept.
  auto drop_window = [](std::string_view& part) {
    const std::size_t last_part = part.rfind('/');
    const std::size_t window = part.find('>', last_part == std::string_view::npos ? 0 : last_part);
    if (window != std::string_view::npos) part = part.substr(0, window);
  };
  drop_window(file);
  drop_window(topic);
  request.file = file;
  if (!topic.empty()) {
    request.topic = topic;
    if (request.topic.front() != '/') request.topic.insert(request.topic.begin(), '/');
  }
  return request;
}

}  // namespace pw::platform
