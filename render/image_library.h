#pragma once
// The image library must be initialised once before its first use; start-up
// does it, and so does every entry point of this folder, in case it runs in
// a process (a tool, a test, a worker) that has not done it yet. Pages the
// library caches in a file go into the user's private temporary folder.
#include <Magick++.h>

namespace pw::render {

void EnsureImageLibrary();

// Magick++ images have no move: a "moved" image is a second handle on the
// same pixels, and changing either then copies the whole page (a large page
// as GIF ran out of the library's disk room that way). TakeImage hands the
// pixels on and leaves `from` empty, so the taker holds the only handle.
Magick::Image TakeImage(Magick::Image& from);

}  // namespace pw::render
