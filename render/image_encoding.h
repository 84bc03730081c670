#pragma once
// The per-format configuration every rendered page carries, so that a writer
// only chooses a file name and writes; and the preview file that shows the
// page as it will be saved.
#include <Magick++.h>

#include <optional>
#include <string>

#include <tl/expected.hpp>

#include "render/render_options.h"

namespace pw::render {

enum class EncodedFormat { None, Jpeg, Gif, Png, Tiff, Bmp };

// The configuration the options ask for: the series format flags when the
// multipage mode is 0 or less, "PDF_Bitmp_Format" for PDF, TIFF for a
// multipage TIF and GIF for an animated GIF.
EncodedFormat ChosenFormat(const EncodingOptions& options);

// ".jpg", ".gif", ".png", ".tif" or ".bmp"; for PDF "." and the stored
// "PDF_Bitmp_Format" ("bmp" when it is shorter than two characters).
std::string PreviewExtension(const EncodingOptions& options);

// Whether the chosen format reduces the page to a palette: GIF, and PNG or
// TIFF in their indexed modes (gray modes keep their pixels as they are).
bool ReducesToPalette(const EncodingOptions& options);

// Only image series renders write the preview file.
bool WritesPreview(const EncodingOptions& options);

// The integer resolution a file is tagged with: trunc(dpi), 0 for dpi <= 0.
int DensityTag(double resolution);

// Applies the format calls, depth 8, the resolution tag and sharpening, in
// that order. Errors of the image library come back as their text.
tl::expected<void, std::string> ConfigureForOutput(Magick::Image& image, double resolution,
                                                   const EncodingOptions& options);

// Readies an image for a write that may run beside other writes: pages are
// encoded on several threads at once, and the PNG coder's time stamp
// (tIME) goes through gmtime(), whose one result buffer they would share.
// PNG files therefore carry no time stamp; their pixels are unchanged.
void PrepareForWrite(Magick::Image& image);

// "~CurImg" + PreviewExtension in the work folder.
std::optional<std::string> PreviewPath(const EncodingOptions& options);

// Writes the image to the preview file, replacing it whole (a link there is
// replaced, not followed), and decodes what was written back into the same
// image, so it shows the losses of the encoding. Returns the file's size in KB.
tl::expected<std::optional<int>, std::string> WritePreview(Magick::Image& image,
                                                           const EncodingOptions& options);

}  // namespace pw::render
