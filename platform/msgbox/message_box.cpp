#include "platform/msgbox/message_box.h"

#include "platform/msgbox/console_message_box.h"

#include <mutex>
#include <utility>

namespace pw::platform {
namespace {

// The host is swapped rarely (start-up, tests) and read from any thread.
std::mutex g_host_mutex;
std::shared_ptr<MessageBoxHost> g_host;

}  // namespace

void SetMessageBoxHost(std::shared_ptr<MessageBoxHost> host) {
  std::lock_guard lock(g_host_mutex);
  g_host = std::move(host);
}

std::shared_ptr<MessageBoxHost> CurrentMessageBoxHost() {
  std::lock_guard lock(g_host_mutex);
  if (!g_host) g_host = std::make_shared<ConsoleMessageBoxHost>();
  return g_host;
}

MessageAnswer MessageBox(MessageOwner owner, std::string_view text, std::string_view caption,
                         MessageButtons buttons, MessageIcon icon) {
  MessageRequest request;
  request.owner = owner;
  request.text = std::string(text);
  request.caption = std::string(caption);
  request.buttons = buttons;
  request.icon = icon;
  // Shown outside the lock: a box may wait for the user for a long time.
  return CurrentMessageBoxHost()->Show(request);
}

}  // namespace pw::platform
