#pragma once
// Writing a rendered page to a file and rendering a page for a run.
#include <Magick++.h>

#include <string>

#include <tl/expected.hpp>

#include "pages/page_render.h"

namespace pw::output {

// Encodes the image in the format its extension names, with the options the
// rasteriser set, and writes it, replacing any file of that name. On
// failure the partial file is removed and the error says why, e.g.
// "No space left on device".
tl::expected<void, std::string> WriteImageFile(Magick::Image image, const std::string& path);

// The two halves of WriteImageFile: the encoding, which is most of the work
// and needs no file, and the write of the encoded bytes.
tl::expected<Magick::Blob, std::string> EncodeImageFile(Magick::Image image, const std::string& path);
tl::expected<void, std::string> WriteEncodedFile(const Magick::Blob& blob, const std::string& path);

// How writer renders are made: band workers (0 one per processor, 1 in
// order) and whether they write the preview file. A run with no page view,
// such as a converter's, has no use for the preview.
struct WriterRenderOptions {
  int threads = 0;
  bool preview = true;
};
void SetWriterRenderOptions(WriterRenderOptions options);

// The render of page `index` for a writer at `resolution`, shown in `view`
// (which the run holds), with the writers' render options.
pages::PageRender WriterRender(int index, double resolution, render::RenderView* view,
                               pages::RenderPurpose purpose = pages::RenderPurpose::Writer);

// "The file could not be written:\n<path>\n<why>", for messages.
std::string WriteFailureText(const std::string& path, const std::string& why);

}  // namespace pw::output
