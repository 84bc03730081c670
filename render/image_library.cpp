#include "render/image_library.h"

#include <Magick++.h>

#include <mutex>

namespace pw::render {

void EnsureImageLibrary() {
  static std::once_flag once;
  std::call_once(once, [] { Magick::InitializeMagick(nullptr); });
}

}  // namespace pw::render
