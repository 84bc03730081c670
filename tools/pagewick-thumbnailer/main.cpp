// pagewick-thumbnailer: the first page of an EMF or EMF spool file as a PNG
// thumbnail, for file managers that run freedesktop thumbnailers (see
// res/desktop/pagewick.thumbnailer).
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files/file_writing.h"
#include "render/image_library.h"
#include "tools/pagewick-thumbnailer/first_page.h"

namespace {

constexpr const char* kUsage =
    "usage: pagewick-thumbnailer [-s SIZE] INPUT OUTPUT.png\n"
    "Draws the first page of INPUT (an EMF page or an EMF spool file) so that its\n"
    "longer side is SIZE pixels (default 256, at most 4096) and writes it to OUTPUT\n"
    "as a PNG, replacing OUTPUT whole.\n"
    "Exit status: 0 written, 1 usage, 2 INPUT holds no page that can be drawn,\n"
    "3 OUTPUT cannot be written.\n";

constexpr int kMaxSize = 4096;

int Usage(std::FILE* to, int status) {
  std::fputs(kUsage, to);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string_view> args(argv + 1, argv + argc);
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) return Usage(stdout, 0);
  int size = 256;
  if (args.size() >= 2 && (args[0] == "-s" || args[0] == "--size")) {
    const auto [end, ec] = std::from_chars(args[1].data(), args[1].data() + args[1].size(), size);
    if (ec != std::errc() || end != args[1].data() + args[1].size() || size < 1 || size > kMaxSize)
      return Usage(stderr, 1);
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.size() != 2) return Usage(stderr, 1);
  const std::string input(args[0]), output(args[1]);

  pw::render::EnsureImageLibrary();

  auto page = pw::thumbnailer::FirstPage(input);
  if (!page) {
    std::fprintf(stderr, "pagewick-thumbnailer: %s: %s\n", input.c_str(), page.error().c_str());
    return 2;
  }
  auto image = pw::thumbnailer::DrawThumbnail(*page, size);
  if (!image) {
    std::fprintf(stderr, "pagewick-thumbnailer: %s: %s\n", input.c_str(), image.error().c_str());
    return 2;
  }
  Magick::Blob png;
  try {
    image->magick("PNG");
    // A thumbnail is small and written once: fast compression beats a few bytes.
    image->defineValue("png", "compression-level", "3");
    image->defineValue("png", "compression-filter", "1");
    image->write(&png);
  } catch (const Magick::Exception& e) {
    std::fprintf(stderr, "pagewick-thumbnailer: %s: %s\n", input.c_str(), e.what());
    return 2;
  }
  const auto written = pw::files::ReplaceFile(
      output, std::span(static_cast<const std::byte*>(png.data()), png.length()));
  if (!written) {
    std::fprintf(stderr, "pagewick-thumbnailer: %s\n", written.error().Message().c_str());
    return 3;
  }
  return 0;
}
