#pragma once
// The multipage PDF writer: every page of the page set rendered in the
// inside format, written to the work folder and added to one PDF page by
// page.
#include <string>

#include "output/write_job.h"

namespace pw::output {

// The worker-thread procedure: exit code 0 for a completed or aborted run,
// -1 when the document cannot be begun or a page cannot be rendered or
// written. However a window command's run ends, the multipage mode returns
// to 0. An aborted or failed run leaves no PDF under the target's name (the
// document is written to a temporary file beside it and renamed only when
// complete).
WriteOutcome WriteMultipagePdf(const WriteJob& job);

// What the PDF command does before it starts the run: takes the
// output-format backup and writes the current page image to "forPDFtmp"
// plus the output format's extension in the work folder. False when the
// file cannot be written.
bool PutCurrentPageAside();

// The "forPDFtmp" file of the current output format.
std::string PutAsidePath();

}  // namespace pw::output
