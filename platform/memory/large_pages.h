#pragma once
// Large pages for big buffers that are written once, top to bottom, such as
// a rendered page's pixels.
#include <cstddef>

namespace pw::platform {

// Asks the system to back the whole pages inside [data, data + length) with
// large pages where it can, so that first writing them costs one fault per
// large page instead of one per 4 KB. Call it before the memory is written.
// The contents are unchanged; where the system cannot, nothing happens.
void PreferLargePages(void* data, std::size_t length);

}  // namespace pw::platform
