#pragma once
// Finding another program's top-level window by its exact title and
// bringing it to the front, the way FindWindow and SetForegroundWindow do
// on the desktop the program stands in for. On X11 the window manager's
// client list (_NET_CLIENT_LIST) is searched by _NET_WM_NAME, or WM_NAME for
// a client that sets only that, and the window is activated by asking the
// window manager (_NET_ACTIVE_WINDOW). Without an X display or a window
// manager that keeps the list (Wayland, a bare X server) nothing is found.
#include <cstdint>
#include <optional>
#include <string_view>

namespace pw::platform {

// The X window id of the first client whose title is exactly `title`.
std::optional<std::uint32_t> FindTopLevelWindow(std::string_view title);

// Finds the window and asks for it to be activated; true when one was found
// and the request reached the X server.
bool RaiseTopLevelWindow(std::string_view title);

}  // namespace pw::platform
