#pragma once
// The first page of an EMF or EMF spool file, drawn to fit a square, for a
// file manager's thumbnail.
#include <Magick++.h>
#include <filesystem>
#include <string>
#include <tl/expected.hpp>

#include "platform/gdi/emf/metafile.h"

namespace pw::thumbnailer {

// Reads the file and returns its first valid page: the file itself when it
// is a metafile, else the first page of a spool file. The file is read
// whole, within the metafile size limit.
tl::expected<gdi::Metafile, std::string> FirstPage(const std::filesystem::path& path);

// The page drawn supersampled so that its longer side is `size` pixels (at
// least 1 pixel on the shorter one), on white.
tl::expected<Magick::Image, std::string> DrawThumbnail(const gdi::Metafile& page, int size);

}  // namespace pw::thumbnailer
