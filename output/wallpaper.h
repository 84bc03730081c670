#pragma once
// "Set to Wallpaper": the current page image becomes the desktop's
// wallpaper. The picture is kept as TavrinWallpaper.bmp in the program's
// data folder, not in the temporary folder: the desktop reads it again at
// every login, and a temporary folder may be emptied by a restart.
#include <Magick++.h>

#include <mutex>
#include <string>

namespace pw::output {

inline constexpr const char* kWallpaperFileName = "TavrinWallpaper.bmp";
inline constexpr const char* kDesktopKey = "Control Panel\\Desktop";
inline constexpr const char* kActiveDesktopKey = "SOFTWARE\\Microsoft\\Internet Explorer\\Desktop\\General";

enum class WallpaperOutcome {
  NoImage,     // no page is shown: nothing is done
  NotWritten,  // the picture file could not be written: the user is told
  Set,         // the file was written and the desktop was asked to show it
};

// The data folder's wallpaper file; the same file each time.
std::string WallpaperFilePath();

class Wallpaper {
 public:
  // Writes the image as the wallpaper file, stores its path as the desktop's
  // "Wallpaper" and, when that worked, as the Active Desktop's
  // "BackupWallpaper" (only into keys that exist), and has the desktop show
  // it. A missing Active Desktop key sets the no-Active-Desktop mark for
  // the rest of the run.
  WallpaperOutcome Set(const Magick::Image& image);

  bool noActiveDesktop() const;

 private:
  mutable std::mutex mutex_;
  bool no_active_desktop_ = false;
};

// The program's one wallpaper command state.
Wallpaper& ProgramWallpaper();

// The command on the page set's current image.
WallpaperOutcome SetToWallpaper();

}  // namespace pw::output
