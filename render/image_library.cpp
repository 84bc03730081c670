#include "render/image_library.h"

#include <Magick++.h>

#include <cstdlib>
#include <mutex>

#include "platform/paths/paths.h"

namespace pw::render {

void EnsureImageLibrary() {
  static std::once_flag once;
  std::call_once(once, [] {
    // A page past the library's memory budget is cached in a file. It goes
    // into the user's private temporary folder, not the shared one; the
    // variable is read when the library starts.
    if (!std::getenv("MAGICK_TEMPORARY_PATH"))
      if (const auto folder = platform::TempFolder()) ::setenv("MAGICK_TEMPORARY_PATH", folder->c_str(), 1);
    Magick::InitializeMagick(nullptr);
  });
}

Magick::Image TakeImage(Magick::Image& from) {
  Magick::Image taken = from;
  from = Magick::Image();
  return taken;
}

}  // namespace pw::render
