#pragma once
// Pointing the desktop's wallpaper at a picture file and having the desktop
// show it: the job the system's wallpaper call does, done through the
// desktop environment's own setting, found at run time.
#include <string>
#include <string_view>
#include <vector>

namespace pw::platform {

enum class DesktopKind { Unknown, Gnome, Cinnamon, Mate, Plasma, Xfce };

// The desktop a session names in XDG_CURRENT_DESKTOP (a ':'-separated
// list, e.g. "ubuntu:GNOME"; the first known name wins). GNOME stands for
// the desktops that keep GNOME's background setting: Unity, Budgie,
// Pantheon.
DesktopKind DesktopFromSessionNames(std::string_view current_desktop);

struct ProgramCall {
  std::string program;
  std::vector<std::string> arguments;
  bool operator==(const ProgramCall&) const = default;
};

// The calls that set the wallpaper on that desktop. Xfce keeps one setting
// per monitor and workspace: xfce_image_properties are the ones its
// settings store lists ("…/last-image"), each set to the file; with none
// listed, the first monitor's is made.
std::vector<ProgramCall> WallpaperCalls(DesktopKind desktop, const std::string& picture_path,
                                        const std::vector<std::string>& xfce_image_properties = {});

// Finds the running desktop and makes its calls. False when no desktop is
// known or its tool is missing (as a desktop that ignores the request),
// or when a call failed.
bool SetDesktopWallpaper(const std::string& picture_path);

}  // namespace pw::platform
