#pragma once
// What the last renders leave for other parts of the program to read: the
// page size of the last page rendered from a metafile (the resolution dialog)
// and the size of the last preview file (the status line). Readable from any
// thread.
#include <optional>

namespace pw::render {

struct PageSizeMm {
  int width = 0;
  int height = 0;
};

// Nothing until a page with a metafile has been rendered.
std::optional<PageSizeMm> LastPageSizeMm();
void SetLastPageSizeMm(PageSizeMm size);

// The preview file's size in KB; 0 until a preview has been written.
int CurrentImageSizeKb();
void SetCurrentImageSizeKb(int kb);

}  // namespace pw::render
