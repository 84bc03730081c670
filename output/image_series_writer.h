#pragma once
// The image series writer: every page of the page set as a numbered image
// file in the output format, named after the `SaveTarget`.
namespace pw::output {

// The worker-thread procedure. 0 when the run ends normally or is aborted;
// -1 when it stops at a path that is too long or a page that cannot be
// rendered or written (the user is told which and why; the files written
// before stay and nothing is sent).
int WriteImageSeries();

}  // namespace pw::output
