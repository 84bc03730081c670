#include "platform/wm/window_raise.h"

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace pw::platform {
namespace {

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

// One connection with the window manager's atoms, for one call.
class WmConnection {
 public:
  WmConnection() {
    // A session without X (Wayland only, no display): nothing to search.
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) return;
    int screen = 0;
    connection_ = xcb_connect(nullptr, &screen);
    if (xcb_connection_has_error(connection_)) return;
    xcb_intern_atom_cookie_t* cookies = xcb_ewmh_init_atoms(connection_, &ewmh_);
    if (!cookies || !xcb_ewmh_init_atoms_replies(&ewmh_, cookies, nullptr)) return;
    atoms_ = true;
    screen_ = screen;
  }
  ~WmConnection() {
    if (atoms_) xcb_ewmh_connection_wipe(&ewmh_);
    if (connection_) xcb_disconnect(connection_);
  }
  WmConnection(const WmConnection&) = delete;
  WmConnection& operator=(const WmConnection&) = delete;

  bool ok() const { return atoms_; }
  xcb_connection_t* connection() const { return connection_; }
  xcb_ewmh_connection_t& ewmh() { return ewmh_; }
  int screen() const { return screen_; }

  std::vector<xcb_window_t> clients() {
    xcb_ewmh_get_windows_reply_t list;
    if (!xcb_ewmh_get_client_list_reply(&ewmh_, xcb_ewmh_get_client_list(&ewmh_, screen_), &list, nullptr)) return {};
    std::vector<xcb_window_t> windows(list.windows, list.windows + list.windows_len);
    xcb_ewmh_get_windows_reply_wipe(&list);
    return windows;
  }

  // _NET_WM_NAME (UTF-8), else WM_NAME; nothing when the window has neither.
  std::optional<std::string> title(xcb_window_t window) {
    xcb_ewmh_get_utf8_strings_reply_t name;
    if (xcb_ewmh_get_wm_name_reply(&ewmh_, xcb_ewmh_get_wm_name(&ewmh_, window), &name, nullptr)) {
      std::string text(name.strings, name.strings_len);
      xcb_ewmh_get_utf8_strings_reply_wipe(&name);
      return text;
    }
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection_, 0, window, XCB_ATOM_WM_NAME, XCB_ATOM_ANY, 0, 1024);
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection_, cookie, nullptr));
    if (!reply || reply->format != 8) return std::nullopt;
    const int length = xcb_get_property_value_length(reply.get());
    if (length < 0) return std::nullopt;
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())), static_cast<std::size_t>(length));
  }

 private:
  xcb_connection_t* connection_ = nullptr;
  xcb_ewmh_connection_t ewmh_{};
  bool atoms_ = false;
  int screen_ = 0;
};

std::optional<xcb_window_t> Find(WmConnection& wm, std::string_view title) {
  for (xcb_window_t window : wm.clients()) {
    const std::optional<std::string> name = wm.title(window);
    if (name && *name == title) return window;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::uint32_t> FindTopLevelWindow(std::string_view title) {
  WmConnection wm;
  if (!wm.ok()) return std::nullopt;
  return Find(wm, title);
}

bool RaiseTopLevelWindow(std::string_view title) {
  WmConnection wm;
  if (!wm.ok()) return false;
  const std::optional<xcb_window_t> window = Find(wm, title);
  if (!window) return false;
  // Source 2: a request on the user's behalf, which window managers honour
  // without focus-stealing checks.
  xcb_ewmh_request_change_active_window(&wm.ewmh(), wm.screen(), *window, XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER,
                                        XCB_CURRENT_TIME, XCB_WINDOW_NONE);
  // The program usually ends right after this: a round trip makes sure the
  // request has reached the server before the connection goes.
  xcb_flush(wm.connection());
  XcbReply<xcb_get_input_focus_reply_t> sync(
      xcb_get_input_focus_reply(wm.connection(), xcb_get_input_focus(wm.connection()), nullptr));
  return sync != nullptr;
}

}  // namespace pw::platform
