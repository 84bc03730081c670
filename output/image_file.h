#pragma once
// Writing a rendered page to a file.
#include <Magick++.h>

#include <string>

#include <tl/expected.hpp>

namespace pw::output {

// Encodes the image in the format its extension names, with the options the
// rasteriser set, and writes it, replacing any file of that name whole: the
// bytes go to a temporary file beside it that is renamed over it when
// complete, so the name never stands for part of a page, and a link there
// is replaced, not written through. On failure the error says why, e.g.
// "No space left on device".
tl::expected<void, std::string> WriteImageFile(Magick::Image image, const std::string& path);

// The two halves of WriteImageFile: the encoding, which is most of the work
// and needs no file, and the write of the encoded bytes. The encoding sets
// write options on `image`; an image no other handle shares is encoded in
// place, without a copy of its pixels.
tl::expected<Magick::Blob, std::string> EncodeImageFile(Magick::Image& image, const std::string& path);
tl::expected<void, std::string> WriteEncodedFile(const Magick::Blob& blob, const std::string& path);

// "The file could not be written:\n<path>\n<why>", for messages.
std::string WriteFailureText(const std::string& path, const std::string& why);

}  // namespace pw::output
