#pragma once
// The HTML gallery writer: a frameset page beside a "_files" folder with a
// title frame, a thumbnail frame, the page images and their thumbnails.
#include "output/write_job.h"

namespace pw::output {

// The worker-thread procedure: exit code 0, or -1 when the gallery folder
// cannot be made because its path is too long or a page cannot be rendered
// or written (the user is told which and why; what was written stays).
WriteOutcome WriteHtmlGallery(const WriteJob& job);

// Thumbnails are rendered at this resolution and fitted into a square of
// this many pixels.
inline constexpr double kGalleryThumbnailDpi = 40.0;
inline constexpr int kGalleryThumbnailSide = 130;

}  // namespace pw::output
