#pragma once
// The user's default mail program, as the desktop records it.
#include <optional>
#include <string>

namespace pw::platform {

// The desktop entry that handles "mailto:" links, e.g. "thunderbird.desktop"
// (xdg-mime query default x-scheme-handler/mailto); nothing when none is
// set or xdg-mime is missing.
std::optional<std::string> DefaultMailHandler();

}  // namespace pw::platform
