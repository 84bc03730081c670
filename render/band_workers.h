#pragma once
// Threads that draw bands for every page. They live from page to page, so
// the glyph images and fonts each thread caches stay warm: a page drawn by
// fresh threads would load and rasterise every font and glyph again.
#include <functional>

namespace pw::render {

// Runs `task` on the calling thread and on up to `helpers` pool threads at
// once, and returns when every copy has returned. A copy that starts after
// the caller's has finished the work must find nothing left to do. Fewer
// helpers run when no more threads can be had. `task` must not throw.
// Thread-safe: pages may be drawn by several callers at a time.
void RunOnBandWorkers(int helpers, const std::function<void()>& task);

}  // namespace pw::render
