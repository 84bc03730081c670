#include "output/file_naming.h"

#include <cstdio>

namespace pw::output {

std::string SeriesBaseName(std::string_view base_name) {
  if (base_name.size() <= 55) return std::string(base_name);
  return std::string(base_name.substr(0, 49));
}

std::string PageNumberOf(std::string_view page_file_name, int index) {
  if (page_file_name.size() >= 8) return std::string(page_file_name.substr(page_file_name.size() - 8, 4));
  char number[16];
  std::snprintf(number, sizeof number, "%04d", index + 1);
  return number;
}

std::string SeriesExtension(const FormatFlags& flags) {
  if (flags.jpg) return ".jpg";
  if (flags.gif) return ".gif";
  if (flags.png) return ".png";
  if (flags.tif) return ".tif";
  return ".bmp";
}

std::string GalleryExtension(const FormatFlags& flags) {
  if (flags.jpg) return ".jpg";
  if (flags.gif) return ".gif";
  if (flags.png) return ".png";
  return ".bmp";
}

std::string InsideExtension(std::string_view pdf_bitmap_format) {
  if (pdf_bitmap_format.size() < 2 || pdf_bitmap_format.find('/') != std::string_view::npos ||
      pdf_bitmap_format.find('\0') != std::string_view::npos)
    return ".bmp";
  return "." + std::string(pdf_bitmap_format);
}

std::string SeriesFileName(const SaveTarget& target, std::string_view page_number, std::string_view extension) {
  std::string path = target.folder;
  path += '/';
  path += SeriesBaseName(target.base_name);
  path += page_number;
  path += extension;
  return path;
}

std::string SeriesFileNameOfPage(const SaveTarget& target, int index, const FormatFlags& flags) {
  return SeriesFileName(target, PageNumberOf(pages::Pages().Record(index).file_name, index), SeriesExtension(flags));
}

}  // namespace pw::output
