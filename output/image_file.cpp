#include "output/image_file.h"

#include <cctype>
#include <span>

#include "platform/files/file_writing.h"
#include "render/image_encoding.h"

namespace pw::output {
namespace {

std::string FormatOfExtension(const std::string& path) {
  const auto dot = path.find_last_of('.');
  const auto slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string format = path.substr(dot + 1);
  for (char& c : format) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return format;
}

}  // namespace

tl::expected<Magick::Blob, std::string> EncodeImageFile(Magick::Image& image, const std::string& path) {
  const std::string format = FormatOfExtension(path);
  if (format.empty()) return tl::unexpected(std::string("the file name has no image extension"));
  Magick::Blob blob;
  try {
    render::PrepareForWrite(image);
    image.write(&blob, format);
  } catch (const Magick::Exception& error) {
    return tl::unexpected(std::string("the image could not be encoded: ") + error.what());
  } catch (const std::bad_alloc&) {
    return tl::unexpected(std::string("out of memory while encoding the image"));
  }
  return blob;
}

tl::expected<void, std::string> WriteEncodedFile(const Magick::Blob& blob, const std::string& path) {
  const auto* bytes = static_cast<const std::byte*>(blob.data());
  if (auto written = files::ReplaceFile(path, std::span(bytes, blob.length())); !written)
    return tl::unexpected(written.error().Reason());
  return {};
}

tl::expected<void, std::string> WriteImageFile(Magick::Image image, const std::string& path) {
  return EncodeImageFile(image, path).and_then(
      [&path](const Magick::Blob& blob) { return WriteEncodedFile(blob, path); });
}

std::string WriteFailureText(const std::string& path, const std::string& why) {
  return "The file could not be written:\n" + path + "\n" + why;
}

}  // namespace pw::output
