#pragma once
// The image series writer: every page of the page set as a numbered image
// file in the job's format, named after its `SaveTarget`.
#include "output/write_job.h"

namespace pw::output {

// The worker-thread procedure. Exit code 0 when the run ends normally or
// is aborted; -1 when it stops at a path that is too long or a page that
// cannot be rendered or written (the user is told which and why; the files
// written before stay and nothing is sent).
WriteOutcome WriteImageSeries(const WriteJob& job);

}  // namespace pw::output
