#pragma once
// Opening a file or a link with the desktop's default application.
#include <functional>
#include <string>

namespace pw::platform {

// Opens the file or URL through xdg-open without waiting for the
// application; false when it could not be started.
bool ShellOpen(const std::string& target);

// Replaces how ShellOpen opens things (tests record the targets; the
// command-line tools open nothing). An empty function restores xdg-open.
void SetShellOpener(std::function<bool(const std::string&)> opener);

}  // namespace pw::platform
