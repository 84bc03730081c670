#include "output/wallpaper.h"

#include "output/image_file.h"
#include "pages/page_set.h"
#include "platform/desktop/desktop_wallpaper.h"
#include "platform/files/file_writing.h"
#include "platform/msgbox/message_box.h"
#include "platform/paths/paths.h"
#include "settings/settings_store.h"

namespace pw::output {

std::string WallpaperFilePath() { return platform::HomeFolder() + kWallpaperFileName; }

WallpaperOutcome Wallpaper::Set(const Magick::Image& image) {
  if (!image.isValid() || image.columns() == 0 || image.rows() == 0) return WallpaperOutcome::NoImage;
  const std::string path = WallpaperFilePath();
  // The desktop may read the file at any moment, so it is replaced whole.
  // A desktop pointed at a file that was not written would show nothing or
  // an old picture, so a failed write ends the command here.
  std::string failure;
  Magick::Image encoding = image;
  if (tl::expected<Magick::Blob, std::string> encoded = EncodeImageFile(encoding, path); !encoded) {
    failure = encoded.error();
  } else if (files::WriteResult written = files::ReplaceFile(
                 path, std::span(static_cast<const std::byte*>(encoded->data()), encoded->length()));
             !written) {
    failure = written.error().Reason();
  }
  if (!failure.empty()) {
    platform::MessageBox(platform::MessageOwner::MainWindow, WriteFailureText(path, failure),
                         platform::kMessageCaption, platform::MessageButtons::Ok, platform::MessageIcon::Error);
    return WallpaperOutcome::NotWritten;
  }

  if (settings::WriteUserStringAt(kDesktopKey, "Wallpaper", path) &&
      !settings::WriteUserStringAt(kActiveDesktopKey, "BackupWallpaper", path)) {
    std::lock_guard lock(mutex_);
    no_active_desktop_ = true;
  }
  // What the system call does on the desktop this runs on. A desktop that
  // is not known takes no notice, as one that ignored the call would.
  platform::SetDesktopWallpaper(path);
  // The Active Desktop object does not exist here: after the mark, or
  // without it, its creation finds nothing and the command ends silently.
  return WallpaperOutcome::Set;
}

bool Wallpaper::noActiveDesktop() const {
  std::lock_guard lock(mutex_);
  return no_active_desktop_;
}

Wallpaper& ProgramWallpaper() {
  static Wallpaper wallpaper;
  return wallpaper;
}

WallpaperOutcome SetToWallpaper() { return ProgramWallpaper().Set(pages::Pages().CurrentImage()); }

}  // namespace pw::output
