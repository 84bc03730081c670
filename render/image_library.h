#pragma once
// The image library must be initialised once before its first use; start-up
// does it, and so does every entry point of this folder, in case it runs in
// a process (a tool, a test, a worker) that has not done it yet. Pages the
// library caches in a file go into the user's private temporary folder.

namespace pw::render {

void EnsureImageLibrary();

}  // namespace pw::render
