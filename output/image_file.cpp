#include "output/image_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

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

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

tl::expected<Magick::Blob, std::string> EncodeImageFile(Magick::Image image, const std::string& path) {
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
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) return tl::unexpected(std::string(std::strerror(errno)));
  const bool written = std::fwrite(blob.data(), 1, blob.length(), file.get()) == blob.length();
  int error = written ? 0 : errno;
  if (std::fclose(file.release()) != 0 && error == 0) error = errno;
  if (!written && error == 0) error = EIO;
  if (error != 0) {
    std::remove(path.c_str());  // half a page is no page
    return tl::unexpected(std::string(std::strerror(error)));
  }
  return {};
}

tl::expected<void, std::string> WriteImageFile(Magick::Image image, const std::string& path) {
  return EncodeImageFile(std::move(image), path).and_then(
      [&path](const Magick::Blob& blob) { return WriteEncodedFile(blob, path); });
}

std::string WriteFailureText(const std::string& path, const std::string& why) {
  return "The file could not be written:\n" + path + "\n" + why;
}

}  // namespace pw::output
