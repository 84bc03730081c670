#pragma once
// How the writers name their files: the series name of a page, the page's
// four-digit number, and the extension of each format.
#include <string>
#include <string_view>

#include "output/output_run.h"
#include "settings/settings_record.h"

namespace pw::output {

// A base name of at most 55 characters whole, else its first 49.
std::string SeriesBaseName(std::string_view base_name);

// The four characters just before the four-character extension of a page
// file name ("50003.emf" gives "0003"). A name too short to hold them
// gives the page's own number (index + 1) in four digits.
std::string PageNumberOf(std::string_view page_file_name, int index);

// ".jpg", ".gif", ".png", ".tif" by the first flag set in that order;
// ".bmp" when none is.
std::string SeriesExtension(const FormatFlags& flags);
// ".jpg", ".gif", ".png"; ".bmp" for anything else.
std::string GalleryExtension(const FormatFlags& flags);

// "." and the stored inside format exactly as stored ("bmp" when it is
// shorter than two characters, or when it would reach out of the folder).
std::string InsideExtension(std::string_view pdf_bitmap_format);

// Save folder, "/", base name (55/49), page number, extension. The folder
// ends with '/', so the path holds "//" there; both count in the limit.
std::string SeriesFileName(const SaveTarget& target, std::string_view page_number, std::string_view extension);

// The series name of page `index` of the page set with the current flags.
std::string SeriesFileNameOfPage(const SaveTarget& target, int index, const FormatFlags& flags);

}  // namespace pw::output
