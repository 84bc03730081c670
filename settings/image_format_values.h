#pragma once
// The working values of the image format sheets: copies of the format
// settings that the sheet pages edit, committed after OK in the order the
// stored values are written.
#include <optional>
#include <string>

#include "settings/output_format.h"
#include "settings/settings_record.h"

namespace pw::settings {

struct ImageFormatValues : FormatSettings {
  // The image format inside a multipage PDF ("BMP", "JPG", "TIF", "PNG",
  // or a stored text naming none of them). The PDF page changes it at once;
  // it is stored only after OK.
  std::string PDF_Bitmp_Format = "BMP";

  friend bool operator==(const ImageFormatValues&, const ImageFormatValues&) = default;
};

// The working values of a record. The PDF inside format is the stored text,
// or "BMP" when that is shorter than 3 characters.
ImageFormatValues ImageFormatValuesFrom(const Settings& settings);

// "PDF_Bitmp_Format" as the PDF page takes it: "BMP" when the stored text is
// absent or shorter than 3 characters, else the text.
std::string StoredPdfInsideFormat();

// The one single-image format whose working flag is set, testing TIF, BMP,
// PNG, GIF and JPG in this order; nothing when none is.
std::optional<OutputFormat> WorkingOutputFormat(const ImageFormatValues& values);

// Sets the working flags so that only `format` (a single-image format) is on.
void SetWorkingOutputFormat(ImageFormatValues& values, OutputFormat format);

// Which values a commit takes over.
enum class FormatCommit {
  All,  // the full sheet: every format's values, the flags and the PDF format
  Jpg,  // the single-format sheet: one format's values only
  Gif,
  Png,
  Tif,
};

// Copies the values into the settings and stores them in the order
// "JPG_Gray", "JPG_Progress", "JPG_Quality", "GIF_Colors", "GIF_IndexGray",
// "GIF_Delay", "GIF_Dither", "GIF_Interlace", "PNG_TrueIndexGray",
// "PNG_Colors", "PNG_Interlace", "PNG_Dither", "TIF_TrueIndexGray",
// "TIF_Colors", "TIF_Lzw" (only the one format's for a single-format
// commit). The full commit then takes the working output format, writing
// "TIF_Default" ... "JPG_Default" in this order (nothing when no flag is
// set), and stores "PDF_Bitmp_Format".
void CommitImageFormatValues(const ImageFormatValues& values, FormatCommit commit);

}  // namespace pw::settings
